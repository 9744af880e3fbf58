#include <gtest/gtest.h>

#include <cstring>

#include "platform/headless/memory_registry.h"

using namespace platform;
using platform::headless::MemoryRegistry;

namespace {
long setText(Registry& r, HKey k, const char* name, const char* text, std::uint32_t size) {
    return r.setValueEx(k, name, kRegSz, reinterpret_cast<const std::uint8_t*>(text), size);
}
}  // namespace

TEST(MemoryRegistry, Values) {
    MemoryRegistry r;
    HKey k = 0;
    std::uint32_t disp = 0;
    ASSERT_EQ(r.createKeyEx(kHKeyLocalMachine, "Software\\Tivlo", 0, kKeyAllAccess, k, disp),
              kErrorSuccess);

    // The NUL after the given bytes is counted in; one already counted is not doubled.
    ASSERT_EQ(setText(r, k, "Tip", "abc", 3), kErrorSuccess);
    ASSERT_EQ(setText(r, k, "Full", "abc", 4), kErrorSuccess);
    const char noNul[] = {'x', 'y', 'z', 'w'};
    ASSERT_EQ(setText(r, k, "Part", noNul, 3), kErrorSuccess);
    std::uint32_t size = 0;
    EXPECT_EQ(r.queryValueEx(k, "tip", nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(r.queryValueEx(k, "Full", nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(r.queryValueEx(k, "Part", nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(r.value("SOFTWARE\\tivlo", "TIP"), "abc");

    // Missing value: size untouched.
    size = 99;
    EXPECT_EQ(r.queryValueEx(k, "Nope", nullptr, nullptr, &size), kErrorFileNotFound);
    EXPECT_EQ(size, 99u);

    // Too small: the needed size comes back and the buffer is not written.
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    size = 2;
    std::uint32_t type = 0;
    EXPECT_EQ(r.queryValueEx(k, "Tip", &type, reinterpret_cast<std::uint8_t*>(buf), &size),
              kErrorMoreData);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(buf[0], '#');
    size = sizeof buf;
    EXPECT_EQ(r.queryValueEx(k, "Tip", &type, reinterpret_cast<std::uint8_t*>(buf), &size),
              kErrorSuccess);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(type, kRegSz);
    EXPECT_STREQ(buf, "abc");

    EXPECT_EQ(r.closeKey(k), kErrorSuccess);
    EXPECT_EQ(r.closeKey(k), headless::kErrorInvalidHandle);
    EXPECT_EQ(r.queryValueEx(k, "Tip", nullptr, nullptr, &size), headless::kErrorInvalidHandle);
    EXPECT_EQ(r.openHandleCount(), 0);
}

TEST(MemoryRegistry, Keys) {
    MemoryRegistry r;
    HKey a = 0, b = 0;
    std::uint32_t disp = 0;
    ASSERT_EQ(r.createKeyEx(kHKeyLocalMachine, "Software\\Tivlo\\Zeta", 0, kKeyAllAccess, a, disp),
              kErrorSuccess);
    EXPECT_EQ(disp, 1u);
    EXPECT_TRUE(r.exists("HKEY_LOCAL_MACHINE\\software\\TIVLO"));
    ASSERT_EQ(r.createKeyEx(kHKeyLocalMachine, "SOFTWARE\\TIVLO\\zeta", 0, kKeyAllAccess, b, disp),
              kErrorSuccess);
    EXPECT_EQ(disp, 2u);
    EXPECT_EQ(r.openHandleCount(), 2);
    r.closeKey(b);
    EXPECT_EQ(r.openKeyEx(kHKeyLocalMachine, "Software\\Missing", 0, kKeyRead, b),
              kErrorFileNotFound);

    r.put("Software\\Tivlo\\alpha", "x", "1");
    ASSERT_EQ(r.openKeyEx(kHKeyLocalMachine, "Software\\Tivlo", 0, kKeyRead, b), kErrorSuccess);
    char name[16];
    EXPECT_EQ(r.enumKey(b, 0, name, sizeof name), kErrorSuccess);
    EXPECT_STREQ(name, "alpha");  // by name, not by creation
    EXPECT_EQ(r.enumKey(b, 1, name, sizeof name), kErrorSuccess);
    EXPECT_STREQ(name, "Zeta");
    EXPECT_EQ(r.enumKey(b, 2, name, sizeof name), kErrorNoMoreItems);
    EXPECT_EQ(r.enumKey(b, 1, name, 4), kErrorMoreData);  // "Zeta" needs 5 with its NUL

    EXPECT_EQ(r.deleteKey(kHKeyLocalMachine, "Software\\Tivlo"), kErrorAccessDenied);
    EXPECT_EQ(r.deleteKey(b, "Nope"), kErrorFileNotFound);
    EXPECT_EQ(r.deleteKey(b, "ALPHA"), kErrorSuccess);
    EXPECT_EQ(r.deleteKey(a, ""), kErrorSuccess);  // the key of the handle itself
    EXPECT_FALSE(r.exists("Software\\Tivlo\\Zeta"));
    EXPECT_EQ(r.setValueEx(a, "v", kRegSz, nullptr, 0), headless::kErrorKeyDeleted);
    EXPECT_EQ(r.enumKey(b, 0, name, sizeof name), kErrorNoMoreItems);
    r.closeKey(a);
    r.closeKey(b);
    EXPECT_EQ(r.openHandleCount(), 0);
    EXPECT_TRUE(r.exists("Software\\Tivlo"));
}
