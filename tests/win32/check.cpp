#include "tests/win32/check.h"

#include <cstdio>
#include <exception>
#include <vector>

namespace check {
namespace {
struct Case {
    const char* name;
    void (*body)();
};
std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}
struct Child {
    const char* name;
    int (*body)();
};
std::vector<Child>& Children() {
    static std::vector<Child> children;
    return children;
}
std::string g_failures;
}  // namespace

int Register(const char* name, void (*body)()) {
    Cases().push_back({name, body});
    return 0;
}

int RegisterChild(const char* name, int (*body)()) {
    Children().push_back({name, body});
    return 0;
}

void Fail(const char* file, int line, const std::string& what) {
    if (!g_failures.empty()) g_failures += "; ";
    if (*file) {
        const std::string f = file;
        g_failures += f.substr(f.find_last_of("/\\") + 1) + ":" + std::to_string(line) + " ";
    }
    g_failures += what;
}

}  // namespace check

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--child") {
        for (const auto& c : check::Children())
            if (argv[2] == std::string(c.name)) return c.body();
        return 100;
    }
    int passed = 0, failed = 0;
    for (const auto& c : check::Cases()) {
        check::g_failures.clear();
        try {
            c.body();
        } catch (const std::exception& e) {
            check::Fail("", 0, std::string("exception: ") + e.what());
        } catch (...) {
            check::Fail("", 0, "unknown exception");
        }
        std::string name = c.name;
        for (char& ch : name)
            if (ch == '_') ch = ' ';
        if (check::g_failures.empty()) {
            std::printf("ok - %s\n", name.c_str());
            ++passed;
        } else {
            std::printf("not ok - %s: %s\n", name.c_str(), check::g_failures.c_str());
            ++failed;
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}
