// The main form's file list over the in-memory file system: which files it shows, in what
// order, and what a folder that cannot be read does to it.
#include <gtest/gtest.h>

#include "kit/filelistbox.h"
#include "kit/runtime.h"
#include "platform/headless/bind.h"

namespace {

class FileListTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    kit::FileListBox list{"*.jpeg;*.jpg;*.bmp;*.gif;*.png"};
    void SetUp() override {
        world.bind();
        world.reset();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
        return out;
    }
};

TEST_F(FileListTest, NormalPictureFilesSortedByNameIgnoringCase) {
    world.files.addFile("C:\\Pics\\b.PNG", "1");
    world.files.addFile("C:\\Pics\\A.jpg", "22");
    world.files.addFile("C:\\Pics\\a0.gif", "");
    world.files.addFile("C:\\Pics\\hidden.jpg", "", true);
    world.files.addFile("C:\\Pics\\notes.txt", "");
    world.files.addFile("C:\\Pics\\\xE9t\xE9.bmp", "");
    world.files.addFolder("C:\\Pics\\folder.jpg");
    world.files.addFile("C:\\Pics\\folder.jpg\\deep.jpg", "");
    list.setPath("C:\\Pics");
    EXPECT_EQ(Names(), (std::vector<std::string>{"A.jpg", "a0.gif", "b.PNG", "\xE9t\xE9.bmp"}));
    EXPECT_EQ(list.Entry(0).size, 2u);
    EXPECT_EQ(list.List(4), "");
    EXPECT_EQ(list.List(-1), "");

    // A new write time tells a changed file from the same one.
    const auto before = list.Entry(1);
    world.files.touch("C:\\PICS\\A0.GIF");
    list.Refresh();
    EXPECT_NE(list.Entry(1).modified, before.modified);
    EXPECT_EQ(list.Entry(1).name, before.name);
}

TEST_F(FileListTest, AFolderThatCannotBeReadKeepsTheListAndRaises) {
    world.files.addFile("C:\\Pics\\a.jpg", "");
    list.setPath("C:\\Pics");
    try {
        list.setPath("C:\\Gone");
        FAIL() << "no error";
    } catch (const kit::RuntimeError& e) {
        EXPECT_EQ(e.code(), kit::kErrPathNotFound);
    }
    EXPECT_EQ(list.Path(), "C:\\Pics");
    EXPECT_EQ(list.ListCount(), 1);

    // The folder replaced by a file of the same name.
    world.files.remove("C:\\Pics\\a.jpg");
    world.files.clear();
    world.files.addFile("C:\\Pics", "not a folder");
    EXPECT_THROW(list.Refresh(), kit::RuntimeError);
    EXPECT_EQ(list.ListCount(), 1);

    // A drive's root lists like any folder.
    world.files.addFile("D:\\x.gif", "");
    list.setPath("D:\\");
    EXPECT_EQ(Names(), std::vector<std::string>{"x.gif"});
}

TEST_F(FileListTest, TenThousandFiles) {
    for (int i = 9999; i >= 0; --i)
        world.files.addFile("C:\\Big\\Catch" + std::to_string(100000 + i).substr(1) + ".jpg", "");
    world.files.addFile("C:\\Big\\other.txt", "");
    list.setPath("C:\\Big");
    ASSERT_EQ(list.ListCount(), 10000);
    EXPECT_EQ(list.List(0), "Catch00000.jpg");
    EXPECT_EQ(list.List(9999), "Catch09999.jpg");
}

}  // namespace
