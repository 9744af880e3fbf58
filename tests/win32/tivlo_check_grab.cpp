// Downloads through WinINet against the loopback test server, and one grab task of a generated
// site compared with the pictures it holds. The runner's set-up (tivlo_check_grab.sh beside this
// file) starts the server and says where it is: TIVLO_TEST_SERVER holds "PORT RESETPORT
// HTTPSPORT", TIVLO_TEST_SITE the site's folder and TIVLO_TEST_CERT the server's certificate
// (DER), both as paths of this machine.
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <atomic>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/win32_app.h"
#include "bench/win32/process_counts.h"
#include "grabber/crawl.h"
#include "grabber/grab_state.h"
#include "grabber/parse_web.h"
#include "kit/runtime.h"
#include "platform/services.h"
#include "kit/win32/system_dlls.h"
#include "kit/win32/worker_pool.h"
#include "shell/globals.h"
#include "shell/tivlo_form.h"
#include "tests/win32/check.h"

namespace {

platform::win32::RecordingEffectsSystem g_system;

kit::win32::Win32Backend& Backend() {
    static kit::win32::Win32Backend& backend = app::BindWin32(g_system);
    return backend;
}

std::string Env(const char* name) {
    char buf[4096];
    const DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

// 0: http, 1: the raw responder, 2: https.
int ServerPort(int which) {
    std::istringstream in(Env("TIVLO_TEST_SERVER"));
    int ports[3] = {};
    in >> ports[0] >> ports[1] >> ports[2];
    return ports[which];
}

std::string U(const std::string& target, int which = 0) {
    return (which == 2 ? "https://localhost:" : "http://127.0.0.1:") +
           std::to_string(ServerPort(which)) + target;
}

// A path of this machine as Wine shows it: the root is drive Z.
std::string HostPath(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

template <class F>
bool WaitUntil(F done, DWORD ms) {
    return check::WaitUntil(Backend(), done, ms);
}

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) Backend().waitEvents();
}

// Records a read's events as "3 <text>", "14 <bytesMax>", "6 <size> <final>" or "0".
struct Recorder : kit::AsyncReadSink {
    std::vector<std::string> events;
    std::string body;
    int completions = 0;
    void onReadProgress(kit::ReadHandle, const std::string&, int status, const std::string& text,
                        std::uint32_t bytesMax) override {
        if (status == kit::kReadRedirecting) events.push_back("3 " + text);
        if (status == kit::kReadCacheFileAvailable)
            events.push_back("14 " + std::to_string(bytesMax));
    }
    void onReadComplete(kit::ReadHandle, const std::string&, int status,
                        std::vector<std::uint8_t>& data, std::uint32_t,
                        const std::string& finalAddress) override {
        ++completions;
        body.assign(data.begin(), data.end());
        events.push_back(status == kit::kReadDataEnd
                             ? "6 " + std::to_string(data.size()) + " " + finalAddress
                             : "0");
    }
};

std::string Join(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& e : v) s += (s.empty() ? "" : " | ") + e;
    return s;
}

std::string LastEvent(const std::string& joined) {
    const std::size_t bar = joined.rfind(" | ");
    return bar == std::string::npos ? joined : joined.substr(bar + 3);
}

// One read to its end (or a time limit), its events joined.
std::string Read(kit::win32::WinInetReader& reader, const std::string& address,
                 Recorder* keep = nullptr, DWORD limitMs = 20000) {
    Recorder local;
    Recorder& sink = keep ? *keep : local;
    sink = {};
    if (!reader.beginRead(address, "n", &sink)) return "refused";
    if (!WaitUntil([&] { return sink.completions > 0; }, limitMs))
        return "no completion: " + Join(sink.events);
    PumpFor(50);  // nothing may follow the completion
    return Join(sink.events);
}

// Limits a check reaches quickly: 1 MB, and 1,024 bytes a second.
kit::ReadLimits ShortLimits() {
    kit::ReadLimits limits;
    limits.maxBytes = 1 << 20;
    limits.windowMs = 1000;
    return limits;
}

bool HaveServer() {
    if (ServerPort(0) > 0) return true;
    ::check::Fail("", 0, "no loopback server (TIVLO_TEST_SERVER is not set)");
    return false;
}

// A port on which nobody listens.
int ClosedPort() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    closesocket(s);
    return ntohs(a.sin_port);
}

// Answers the program's message boxes with OK, keeping their texts.
class BoxAnswerer {
public:
    BoxAnswerer() : thread_([this] { loop(); }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    std::vector<std::string> texts() {
        std::lock_guard<std::mutex> lock(mutex_);
        return texts_;
    }

private:
    static BOOL CALLBACK Find(HWND hwnd, LPARAM lParam) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        char cls[16] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        if (pid == GetCurrentProcessId() && std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
            *reinterpret_cast<HWND*>(lParam) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    void loop() {
        HWND last = nullptr;
        while (!stop_) {
            HWND box = nullptr;
            EnumWindows(Find, reinterpret_cast<LPARAM>(&box));
            if (box && box != last) {
                char text[512] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    texts_.push_back(text);
                }
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                last = box;
            }
            Sleep(20);
        }
    }
    std::mutex mutex_;
    std::vector<std::string> texts_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace

// First, while no read has run yet in this process: what a burst of reads leaves behind.
CHECK_CASE(reads_leave_no_thread_or_handle_behind) {
    if (!HaveServer()) return;
    Backend();
    kit::win32::WinInetReader reader;
    // WinINet comes with the first read and stays: what it keeps for itself is not the reads'.
    CHECK(kit::win32::WinInet() != nullptr);
    const int threads = bench::CountThreads();
    const std::vector<std::uintptr_t> handles = bench::LiveHandles();
    std::vector<Recorder> sinks(12);
    for (std::size_t i = 0; i < sinks.size(); ++i)
        CHECK(reader.beginRead(U(i % 2 ? "/t/text" : "/t/chunked"), "n", &sinks[i]) != 0);
    CHECK(WaitUntil(
        [&] {
            return std::all_of(sinks.begin(), sinks.end(),
                               [](const Recorder& r) { return r.completions > 0; });
        },
        20000));
    for (const Recorder& r : sinks)
        CHECK_EQ(LastEvent(Join(r.events)).substr(0, 2), std::string("6 "));
    // The workers end soon after the last read, and so do the connections kept alive for the
    // next one (Wine's collector of them wakes every 5 s).
    const bool back = WaitUntil(
        [&] {
            return bench::CountThreads() <= threads &&
                   bench::LiveHandles().size() <= handles.size();
        },
        12000);
    CHECK_EQ(std::to_string(bench::CountThreads()) +
                 " threads, left open: " + bench::NewHandles(handles),
             std::to_string(threads) + " threads, left open: ");
    CHECK(back);
}

CHECK_CASE(jobs_handed_over_together_run_at_once_and_idle_threads_end) {
    std::atomic<int> gone{0};
    {
        kit::win32::WorkerPool pool(200, [&] { ++gone; });
        // Each job waits until all five run: one queued behind a busy thread would time out.
        const HANDLE all = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::atomic<int> started{0}, together{0}, finished{0};
        for (int i = 0; i < 5; ++i)
            CHECK(pool.submit([&] {
                if (++started == 5) SetEvent(all);
                if (WaitForSingleObject(all, 5000) == WAIT_OBJECT_0) ++together;
                ++finished;
            }));
        CHECK(WaitUntil([&] { return finished == 5; }, 10000));
        CHECK_EQ(together.load(), 5);
        CloseHandle(all);
        // Jobs one after another go to the idle threads instead of starting one each.
        for (int i = 0; i < 20; ++i) {
            std::atomic<bool> done{false};
            pool.submit([&] { done = true; });
            CHECK(WaitUntil([&] { return done.load(); }, 5000));
        }
        CHECK(pool.threads() <= 5);
        CHECK(WaitUntil([&] { return pool.threads() == 0; }, 3000));
        CHECK_EQ(gone.load(), 1);
        // A later job starts a thread again.
        std::atomic<bool> done{false};
        pool.submit([&] { done = true; });
        CHECK(WaitUntil([&] { return done.load(); }, 5000));
        CHECK_EQ(pool.threads(), 1);
    }
    CHECK(WaitUntil([&] { return gone == 2; }, 3000));
    // A destroyed pool's idle thread ends at once, not after its idle limit.
    const int threads = bench::CountThreads();
    {
        kit::win32::WorkerPool pool(60000);
        std::atomic<bool> done{false};
        pool.submit([&] { done = true; });
        CHECK(WaitUntil([&] { return done.load(); }, 5000));
    }
    CHECK(WaitUntil([&] { return bench::CountThreads() <= threads; }, 3000));
}

CHECK_CASE(a_file_a_chunked_body_an_error_page_and_redirects_arrive_in_order) {
    if (!HaveServer()) return;
    Backend();
    kit::win32::WinInetReader reader;
    Recorder sink;
    CHECK_EQ(Read(reader, U("/t/text"), &sink), "14 15 | 6 15 " + U("/t/text"));
    CHECK_EQ(sink.body, std::string("plain text body"));
    CHECK_EQ(Read(reader, U("/t/chunked"), &sink), "14 0 | 6 3000 " + U("/t/chunked"));
    CHECK_EQ(sink.body.substr(995, 10), std::string("aaaaabbbbb"));
    CHECK_EQ(Read(reader, U("/t/missing"), &sink), "14 21 | 6 21 " + U("/t/missing"));
    CHECK_EQ(sink.body, std::string("<html>not here</html>"));
    CHECK_EQ(Read(reader, U("/t/redirect?n=1&to=/t/text")),
             "3 " + U("/t/text") + " | 14 15 | 6 15 " + U("/t/text"));
    CHECK_EQ(Read(reader, U("/t/redirect?n=3&to=/t/text")),
             "3 " + U("/t/redirect?n=2&to=/t/text") + " | 3 " + U("/t/redirect?n=1&to=/t/text") +
                 " | 3 " + U("/t/text") + " | 14 15 | 6 15 " + U("/t/text"));
}

CHECK_CASE(each_failure_ends_with_one_status_zero) {
    if (!HaveServer()) return;
    Backend();
    kit::win32::WinInetReader reader;
    reader.setLimits(ShortLimits());
    for (const std::string& t :
         {U("/t/headers-only"), U("/t/short"), U("/t/ftp"), U("/t/endless"),
          U("/t/slow?ms=300&n=60"), U("/t/endless-redirect"), U("/t/trickle?ms=100", 1)}) {
        const std::string events = Read(reader, t);
        CHECK_EQ(t + ": " + LastEvent(events), t + ": 0");
    }
    // The loop gives up after ten hops.
    const std::string loop = Read(reader, U("/t/loop"));
    int hops = 0;
    for (std::size_t at = loop.find("3 "); at != std::string::npos; at = loop.find("| 3 ", at + 1))
        ++hops;
    CHECK_EQ(hops, 10);
    CHECK_EQ(LastEvent(loop), std::string("0"));
    CHECK_EQ(Read(reader, "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/"),
             std::string("0"));
    const std::string reset =
        Read(reader, "http://127.0.0.1:" + std::to_string(ServerPort(1)) + "/");
    // The reset may come before WinINet has read the headers, and then there is no length.
    CHECK(reset == "14 5000 | 0" || reset == "0");
    Read(reader, U("/t/end-endless"));
}

// Headers that never end and a redirect whose body never ends, more of each than a crawl reads
// at once: each read ends within its limits, and the server is still read from at once.
CHECK_CASE(endless_headers_and_redirect_bodies_give_their_reads_back) {
    if (!HaveServer()) return;
    Backend();
    kit::win32::WinInetReader reader;
    reader.setLimits(ShortLimits());
    const int threads = bench::CountThreads();
    std::vector<Recorder> sinks(12);
    for (std::size_t i = 0; i < sinks.size(); ++i)
        CHECK(reader.beginRead(i % 2 ? U("/t/endless-redirect") : U("/t/trickle?ms=100", 1), "n",
                               &sinks[i]) != 0);
    CHECK(WaitUntil(
        [&] {
            return std::all_of(sinks.begin(), sinks.end(),
                               [](const Recorder& r) { return r.completions > 0; });
        },
        15000));
    for (const Recorder& r : sinks) CHECK_EQ(Join(r.events), std::string("0"));
    CHECK_EQ(Read(reader, U("/t/text"), nullptr, 5000), "14 15 | 6 15 " + U("/t/text"));
    // The workers that WinINet still holds (reading on from a body as it closes, or waiting for
    // the rest of the headers) end once the peer stops sending.
    Read(reader, U("/t/end-endless"));
    CHECK(WaitUntil([&] { return bench::CountThreads() <= threads; }, 15000));
}

// https before the test's certificate is trusted: exit code 0 when WinINet refuses it.
CHECK_CHILD(https_unknown_certificate) {
    Backend();
    kit::win32::WinInetReader reader;
    return Read(reader, U("/t/text", 2)) == "0" ? 0 : 1;
}

// https through WinINet's own verification: refused until the test's certificate is a root of
// this Wine prefix (the job's own copy; the machine's store is not touched). A process checks
// its roots once, at its first https read, so the refusal is a child's.
CHECK_CASE(https_is_read_once_its_certificate_is_trusted) {
    if (!HaveServer()) return;
    // The certificate's name must be found without a name server (see the check's set-up).
    if (Env("TIVLO_CHECK_LOOPBACK_NAME").empty()) {
        std::printf("# no localhost in this machine's hosts file: https not checked\n");
        return;
    }
    Backend();
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string child = "\"" + std::string(exe) + "\" --child https_unknown_certificate";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    DWORD refused = 1;
    CHECK(CreateProcessA(nullptr, child.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                         &pi));
    if (pi.hProcess) {
        WaitForSingleObject(pi.hProcess, 60000);
        GetExitCodeProcess(pi.hProcess, &refused);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CHECK_EQ(refused, DWORD(0));

    const std::string der = ReadFileBytes(HostPath(Env("TIVLO_TEST_CERT")));
    HCERTSTORE roots = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0,
                                     CERT_SYSTEM_STORE_CURRENT_USER, "Root");
    CHECK(roots && CertAddEncodedCertificateToStore(
                       roots, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                       static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr));
    if (roots) CertCloseStore(roots, 0);
    kit::win32::WinInetReader reader;
    const std::string text = U("/t/text", 2);
    Recorder sink;
    CHECK_EQ(Read(reader, text, &sink), "14 15 | 6 15 " + text);
    CHECK_EQ(sink.body, std::string("plain text body"));
    CHECK_EQ(Read(reader, U("/t/redirect?n=1&to=" + text)), "3 " + text + " | 14 15 | 6 15 " + text);
    // The certificate names localhost, not the address.
    CHECK_EQ(Read(reader, "https://127.0.0.1:" + std::to_string(ServerPort(2)) + "/t/text"),
             std::string("0"));
}

CHECK_CASE(nothing_arrives_after_a_cancel) {
    if (!HaveServer()) return;
    Backend();
    kit::win32::WinInetReader reader;
    Recorder sink;
    // Before the headers, and in the middle of a body.
    const kit::ReadHandle early = reader.beginRead(U("/t/delay?ms=300"), "n", &sink);
    CHECK(early != 0);
    reader.cancelRead(early);
    const kit::ReadHandle middle = reader.beginRead(U("/t/slow?ms=50&n=100"), "n", &sink);
    CHECK(WaitUntil([&] { return !sink.events.empty(); }, 5000));
    PumpFor(300);
    CHECK_EQ(Join(sink.events), std::string("14 100"));
    reader.cancelRead(middle);
    PumpFor(6000);
    CHECK_EQ(Join(sink.events), std::string("14 100"));
    // Nothing arrives from inside beginRead itself.
    Recorder quick;
    reader.beginRead(U("/t/text"), "n", &quick);
    CHECK(quick.events.empty());
    CHECK(WaitUntil([&] { return quick.completions > 0; }, 5000));
}

CHECK_CASE(what_is_sent_and_what_is_refused) {
    if (!HaveServer()) return;
    Backend();
    kit::win32::WinInetReader reader;
    Recorder sink;
    Read(reader, U("/t/echo/a/./b/../c#frag"), &sink);
    CHECK_EQ(sink.body, std::string("/t/echo/a/c"));
    Read(reader, U("/t/echo?q=\xe4\xf6 x\"y"), &sink);
    CHECK_EQ(sink.body, std::string("/t/echo?q=%E4%F6%20x%22y"));
    for (const char* bad : {"http://127.0.0.1/a\nb", "file:///c:/windows/win.ini",
                            "ftp://127.0.0.1/", "http://u:p@127.0.0.1/", "http://127.0.0.1:99999/"})
        CHECK_EQ(bad + std::string(reader.beginRead(bad, "n", &sink) ? " started" : " refused"),
                 bad + std::string(" refused"));
}

// A picture's number passes over whatever already has its name, in any case: a hidden file
// and a folder.
CHECK_CASE(a_new_picture_file_passes_over_a_hidden_file_and_a_folder) {
    Backend();
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder = exe;
    folder = folder.substr(0, folder.find_last_of('\\')) + "\\taken";
    CreateDirectoryA(folder.c_str(), nullptr);
    CloseHandle(CreateFileA((folder + "\\catch00000.GIF").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
    CreateDirectoryA((folder + "\\Catch00001.gif").c_str(), nullptr);
    gFileCounterGIF = 0;
    ParseWeb web{nullptr};
    std::uintptr_t file = 0;
    CHECK_EQ(web.OpenNewImageFile("gif", &file, "Catch", folder), folder + "\\Catch00002.gif");
    CHECK(file != 0);
    if (file) platform::files().close(file);
    CHECK_EQ(gFileCounterGIF, 3);
}

CHECK_CASE(a_grab_task_saves_every_picture_of_the_site_once) {
    if (!HaveServer()) return;
    const std::string site = Env("TIVLO_TEST_SITE");
    CHECK(!site.empty());
    if (site.empty()) return;
    Backend();
    BoxAnswerer boxes;
    kit::win32::RunGuarded(shell::StartTivlo);

    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder = exe;
    folder = folder.substr(0, folder.find_last_of('\\')) + "\\saved";
    CreateDirectoryA(folder.c_str(), nullptr);
    gDownloadFolder = folder;
    gDownloadFileName = "Catch";
    gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadBMP = gDownloadPNG = true;
    gLimitImageSize = gLimitImageFileSize = false;
    gSearchKeyword.clear();

    grabber::InitGrabTask(U("/index.html"));
    gStopGrabbing = false;
    frmTivlo().tmrGrabbing.setEnabled(true);
    CHECK(WaitUntil([&] { return !boxes.texts().empty() && !gGrabbing; }, 60000));
    CHECK_EQ(Join(boxes.texts()), std::string("All links have been parsed !"));
    CHECK_EQ(gDownloadsInFlight, 0);

    // Every picture the site links, each saved once under the numbers of its type.
    std::map<std::string, std::vector<std::string>> expected;  // extension -> contents
    std::ifstream list(HostPath(site + "/expected.txt"));
    for (std::string line; std::getline(list, line);) {
        if (line.empty()) continue;
        std::string ext = line.substr(line.rfind('.'));
        if (ext == ".jpeg") ext = ".jpg";
        expected[ext].push_back(ReadFileBytes(HostPath(site + "/" + line)));
    }
    CHECK(!expected.empty());
    std::map<std::string, std::vector<std::string>> saved;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    std::vector<std::string> names;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    std::sort(names.begin(), names.end());
    std::map<std::string, int> perType;
    for (const auto& n : names) {
        const std::string ext = n.substr(n.rfind('.'));
        char want[32];
        std::snprintf(want, sizeof want, "Catch%05d%s", perType[ext]++, ext.c_str());
        CHECK_EQ(n, std::string(want));
        saved[ext].push_back(ReadFileBytes(folder + "\\" + n));
    }
    for (auto* m : {&expected, &saved})
        for (auto& [ext, contents] : *m) std::sort(contents.begin(), contents.end());
    CHECK_EQ(saved.size(), expected.size());
    for (const auto& [ext, contents] : expected) {
        CHECK_EQ(ext + " " + std::to_string(saved[ext].size()),
                 ext + " " + std::to_string(contents.size()));
        CHECK(saved[ext] == contents);
    }
    CHECK_EQ(int(gSavedPictureCount), int(names.size()));
}
