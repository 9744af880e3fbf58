// The help (docs/help) names the program's captions, messages, keys and registry names
// exactly: every marked text must be one of the program's own string literals, so the help
// cannot drift from what the user sees. Marks: class="ui" (captions, list entries), "msg"
// (messages), "reg" (registry names) and <kbd> (keys). Captions are written as the user reads
// them, without the "&" that marks an access letter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shell/product.h"
#include "viewer/view_rules.h"

namespace {

namespace fs = std::filesystem;
const fs::path kSource = TIVLO_SOURCE_DIR;
const fs::path kHelp = kSource / "docs" / "help";

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Blanks, tabs and line breaks as one blank; none at either end.
std::string Squeeze(const std::string& s) {
    std::string out;
    for (char c : s) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (!blank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// What the user reads of a caption: "&&" shows as "&", a single "&" marks the access letter.
std::string WithoutAccessMarks(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&')
            out += s[i];
        else if (i + 1 < s.size() && s[i + 1] == '&')
            out += s[++i];
    }
    return out;
}

// The string literals of a C++ source, escapes resolved; adjacent literals joined.
std::vector<std::string> Literals(const std::string& src) {
    std::vector<std::string> found;
    bool joinNext = false;
    const auto after = [&](std::size_t from, const std::string& end) {
        const std::size_t at = src.find(end, from);
        return at == std::string::npos ? src.size() : at + end.size();
    };
    for (std::size_t i = 0; i < src.size();) {
        const char c = src[i];
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (c != '"' && !blank) joinNext = false;
        if (src.compare(i, 2, "//") == 0) {
            i = after(i, "\n");
        } else if (src.compare(i, 2, "/*") == 0) {
            i = after(i, "*/");
        } else if (c == '\'') {  // a character literal
            for (++i; i < src.size() && src[i] != '\''; ++i)
                if (src[i] == '\\') ++i;
            ++i;
        } else if (src.compare(i, 2, "R\"") == 0 &&
                   (i == 0 ||
                    !(std::isalnum(static_cast<unsigned char>(src[i - 1])) || src[i - 1] == '_'))) {
            const std::size_t open = src.find('(', i);
            if (open == std::string::npos) break;
            const std::string end = ")" + src.substr(i + 2, open - i - 2) + "\"";
            const std::size_t close = std::min(src.find(end, open), src.size());
            found.push_back(src.substr(open + 1, close - open - 1));
            i = close + end.size();
        } else if (c == '"') {
            std::string text;
            for (++i; i < src.size() && src[i] != '"'; ++i) {
                if (src[i] != '\\' || i + 1 == src.size()) {
                    text += src[i];
                    continue;
                }
                const char e = src[++i];
                text += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
            }
            ++i;
            if (joinNext)
                found.back() += text;
            else
                found.push_back(text);
            joinNext = true;
        } else {
            ++i;
        }
    }
    return found;
}

// Every text the program can show: each literal whole, and each of its pieces between line
// breaks, runs of blanks or a blank before "Ctrl+" (a menu caption and the key named after it).
std::set<std::string> ProgramTexts() {
    std::set<std::string> texts;
    for (const char* folder : {"shell", "alarms", "grabber", "viewer", "fortune"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kSource / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            for (const std::string& literal : Literals(ReadAll(entry.path()))) {
                const std::string shown = WithoutAccessMarks(literal);
                texts.insert(Squeeze(shown));
                std::string piece;
                for (std::size_t i = 0; i < shown.size(); ++i) {
                    const bool breaks = shown[i] == '\r' || shown[i] == '\n' || shown[i] == '\t' ||
                                        shown.compare(i, 2, "  ") == 0 ||
                                        shown.compare(i, 6, " Ctrl+") == 0;
                    if (!breaks) {
                        piece += shown[i];
                        continue;
                    }
                    texts.insert(Squeeze(piece));
                    piece.clear();
                }
                texts.insert(Squeeze(piece));
            }
        }
    }
    return texts;
}

std::vector<fs::path> Pages() {
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(kHelp))
        if (entry.path().extension() == ".htm") pages.push_back(entry.path());
    return pages;
}

// Decodes the few character references the pages use; false for any other.
bool Decode(const std::string& html, std::string& text) {
    static const std::map<std::string, char> kNamed = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"#39", '\''}};
    text.clear();
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] != '&') {
            text += html[i];
            continue;
        }
        const std::size_t semi = html.find(';', i);
        if (semi == std::string::npos) return false;
        const auto named = kNamed.find(html.substr(i + 1, semi - i - 1));
        if (named == kNamed.end()) return false;
        text += named->second;
        i = semi;
    }
    return true;
}

// The keys the image viewer acts on that no caption names, by the name the help gives them.
const std::map<std::string, int> kViewerKeys = {
    {"Esc", 27}, {"+", 187}, {"-", 189}, {"0", 48}, {"8", 56}};

TEST(HelpTexts, EveryMarkedCaptionMessageKeyAndRegistryNameIsTheProgramsOwn) {
    const std::set<std::string> program = ProgramTexts();
    ASSERT_TRUE(program.count("Alarm Schedule")) << "the program's texts were not read";
    std::vector<std::string> wrong;
    int marks = 0;
    for (const fs::path& page : Pages()) {
        const std::string html = ReadAll(page);
        // Each opening tag that marks its content; the content runs up to the next tag.
        for (std::size_t open = html.find('<'); open != std::string::npos;
             open = html.find('<', open + 1)) {
            const std::size_t close = std::min(html.find('>', open), html.size());
            const std::string tag = html.substr(open + 1, close - open - 1);
            const std::string name = tag.substr(0, tag.find(' '));
            const bool marked = name == "kbd" || tag.find(" class=\"ui\"") != std::string::npos ||
                                tag.find(" class=\"msg\"") != std::string::npos ||
                                tag.find(" class=\"reg\"") != std::string::npos;
            if (!marked) continue;
            ++marks;
            const std::size_t from = close + 1;
            const std::size_t to = std::min(html.find('<', from), html.size());
            const std::string where = page.filename().string() + ": ";
            std::string text;
            if (html.compare(to, name.size() + 3, "</" + name + ">") != 0 ||
                !Decode(html.substr(from, to - from), text)) {
                wrong.push_back(where + "markup inside \"" + html.substr(from, to - from) + "\"");
                continue;
            }
            text = Squeeze(text);
            if (program.count(text)) continue;
            const auto key = kViewerKeys.find(text);
            if (name == "kbd" && key != kViewerKeys.end() &&
                eViewRules::KeyCommand(key->second, 0) != eViewRules::Command::None)
                continue;
            wrong.push_back(where + "\"" + text + "\"");
        }
    }
    EXPECT_GT(marks, 100);
    EXPECT_TRUE(wrong.empty()) << "not among the program's texts:\n"
                               << [&] {
                                      std::string all;
                                      for (const auto& w : wrong) all += "  " + w + "\n";
                                      return all;
                                  }();
}

// A page missing from the project or the contents, or a link to no page, leaves the user a
// blank pane; the compiled file must carry the name the program opens.
TEST(HelpTexts, TheProjectListsEveryPageAndEveryLinkFindsOne) {
    const std::string project = ReadAll(kHelp / "tivlo.hhp");
    const std::string contents = ReadAll(kHelp / "contents.hhc");
    EXPECT_NE(project.find(std::string("Compiled file=") + product::kHelpFile + "\n"),
              std::string::npos);
    std::set<std::string> names;
    for (const fs::path& page : Pages()) names.insert(page.filename().string());
    ASSERT_GE(names.size(), 7u);
    for (const std::string& name : names) {
        EXPECT_NE(project.find("\n" + name + "\n"), std::string::npos) << name << " not in [FILES]";
        EXPECT_NE(contents.find("value=\"" + name + "\""), std::string::npos)
            << name << " not in the contents";
    }
    std::vector<fs::path> sources = Pages();
    sources.push_back(kHelp / "contents.hhc");
    sources.push_back(kHelp / "index.hhk");
    for (const fs::path& source : sources) {
        const std::string text = ReadAll(source);
        for (const std::string link : {"href=\"", "name=\"Local\" value=\""}) {
            for (std::size_t at = text.find(link); at != std::string::npos;
                 at = text.find(link, at + 1)) {
                const std::size_t from = at + link.size();
                const std::string target =
                    text.substr(from, text.find_first_of("\"#", from) - from);
                EXPECT_TRUE(fs::exists(kHelp / target))
                    << source.filename() << " links to " << target;
            }
        }
    }
}

}  // namespace
