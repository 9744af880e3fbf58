// The main form's file list on the Win32 file service: the same files, in the same order, as
// the in-memory file system of the native tests gives.
#include <windows.h>

#include <string>
#include <vector>

#include "kit/filelistbox.h"
#include "kit/runtime.h"
#include "platform/services.h"
#include "platform/win32/win32_files.h"
#include "tests/win32/check.h"

namespace {

std::string ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "tivlo-filelist-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void Put(const std::string& path, const std::string& bytes, DWORD attributes = 0) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    if (attributes) SetFileAttributesA(path.c_str(), attributes);
}

platform::win32::Win32Files g_files;

}  // namespace

CHECK_CASE(normal_picture_files_sorted_by_name_ignoring_case) {
    platform::services().files = &g_files;
    const std::string dir = ScratchFolder();
    Put(dir + "\\b.PNG", "1");
    Put(dir + "\\A.jpg", "22");
    Put(dir + "\\a0.gif", "");
    Put(dir + "\\hidden.jpg", "", FILE_ATTRIBUTE_HIDDEN);
    Put(dir + "\\system.jpg", "", FILE_ATTRIBUTE_SYSTEM);
    Put(dir + "\\readonly.jpeg", "", FILE_ATTRIBUTE_READONLY);
    Put(dir + "\\notes.txt", "");
    Put(dir + "\\a.jpg.bak", "");
    Put(dir + "\\\xE9t\xE9.bmp", "");
    CreateDirectoryA((dir + "\\folder.jpg").c_str(), nullptr);

    kit::FileListBox list("*.jpeg;*.jpg;*.bmp;*.gif;*.png");
    list.setPath(dir);
    std::vector<std::string> names;
    for (int i = 0; i < list.ListCount(); ++i) names.push_back(list.List(i));
    const std::vector<std::string> want = {"A.jpg", "a0.gif", "b.PNG", "readonly.jpeg",
                                           "\xE9t\xE9.bmp"};
    CHECK(names == want);
    CHECK_EQ(list.Entry(0).size, 2u);

    // The write time changes with the file.
    const auto before = list.Entry(2).modified;
    Sleep(20);
    Put(dir + "\\b.PNG", "12345");
    list.Refresh();
    CHECK(list.Entry(2).modified != before);
    CHECK_EQ(list.Entry(2).size, 5u);

    // A folder that is gone, or a file in its place, raises and keeps the list.
    bool raised = false;
    try {
        list.setPath(dir + "\\gone");
    } catch (const kit::RuntimeError& e) {
        raised = e.code() == kit::kErrPathNotFound;
    }
    CHECK(raised);
    CHECK_EQ(list.ListCount(), 5);
    raised = false;
    try {
        list.setPath(dir + "\\A.jpg");
    } catch (const kit::RuntimeError&) {
        raised = true;
    }
    CHECK(raised);

    // An empty folder lists as nothing.
    CreateDirectoryA((dir + "\\empty").c_str(), nullptr);
    list.setPath(dir + "\\empty");
    CHECK_EQ(list.ListCount(), 0);

    for (const char* name : {"b.PNG", "A.jpg", "a0.gif", "hidden.jpg", "system.jpg",
                             "readonly.jpeg", "notes.txt", "a.jpg.bak", "\xE9t\xE9.bmp"}) {
        SetFileAttributesA((dir + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((dir + "\\" + name).c_str());
    }
    RemoveDirectoryA((dir + "\\folder.jpg").c_str());
    RemoveDirectoryA((dir + "\\empty").c_str());
    RemoveDirectoryA(dir.c_str());
}
