// A file list box: the normal files of one folder that match its pattern, sorted by name
// ignoring case, read through the platform's file service. It has no window of its own: the
// program keeps it on its hidden main form and reads its entries.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

namespace kit {

class FileListBox {
public:
    explicit FileListBox(std::string pattern = "*.*") : pattern_(std::move(pattern)) {}

    const std::string& Path() const { return path_; }
    // Lists the folder. A folder that cannot be read raises RuntimeError kErrPathNotFound and
    // keeps the path and the list as they were.
    void setPath(const std::string& folder);
    const std::string& Pattern() const { return pattern_; }
    void setPattern(const std::string& pattern);
    // Reads the folder again.
    void Refresh();

    int ListCount() const { return static_cast<int>(entries_.size()); }
    // The name of entry i, counted from 0; "" outside the list.
    std::string List(int i) const;
    // Entry i with its size and write time; an empty entry outside the list.
    platform::FileEntry Entry(int i) const;

private:
    std::vector<platform::FileEntry> read(const std::string& folder) const;
    std::string path_, pattern_;
    std::vector<platform::FileEntry> entries_;
};

}  // namespace kit
