#include "kit/filelistbox.h"

#include <algorithm>

#include "kit/file_pattern.h"
#include "kit/runtime.h"
#include "platform/services.h"

namespace kit {

std::vector<platform::FileEntry> FileListBox::read(const std::string& folder) const {
    auto all = platform::files().listFiles(folder);
    if (!all) throw RuntimeError(kErrPathNotFound, "Path not found");
    std::vector<platform::FileEntry> out;
    out.reserve(all->size());
    for (auto& e : *all)
        if (MatchesPattern(e.name, pattern_)) out.push_back(std::move(e));
    std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
        return NameLessNoCase(a.name, b.name);
    });
    return out;
}

void FileListBox::setPath(const std::string& folder) {
    entries_ = read(folder);
    path_ = folder;
}

void FileListBox::setPattern(const std::string& pattern) {
    pattern_ = pattern;
    if (!path_.empty()) entries_ = read(path_);
}

void FileListBox::Refresh() {
    if (!path_.empty()) entries_ = read(path_);
}

std::string FileListBox::List(int i) const {
    return i >= 0 && i < ListCount() ? entries_[static_cast<std::size_t>(i)].name : std::string();
}

platform::FileEntry FileListBox::Entry(int i) const {
    return i >= 0 && i < ListCount() ? entries_[static_cast<std::size_t>(i)] : platform::FileEntry{};
}

}  // namespace kit
