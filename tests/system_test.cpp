#include "program_fixture.h"
#include "shell/system.h"
#include "shell/tivlo_form.h"

namespace {

using Privilege = platform::headless::FakeSystem::Privilege;

class SystemTest : public ProgramTest {};

TEST_F(SystemTest, WindowsVersionCodes) {
    struct Case {
        std::uint32_t platform, major, minor;
        std::uint8_t product;
        int code;
    };
    for (auto c : {Case{2, 5, 0, 1, 0}, Case{2, 5, 1, 1, 1}, Case{2, 6, 0, 1, 2}, Case{2, 6, 0, 3, 0},
                   Case{2, 5, 2, 1, 3}, Case{2, 6, 1, 1, 3}, Case{2, 10, 0, 1, 3}, Case{1, 5, 1, 1, 3}}) {
        auto& v = world.system.version();
        v.dwPlatformId = c.platform;
        v.dwMajorVersion = c.major;
        v.dwMinorVersion = c.minor;
        v.wProductType = c.product;
        EXPECT_EQ(eSystem::GetWindowsVersion(), c.code) << c.platform << "." << c.major << "." << c.minor;
    }
    world.system.setVersionFails(true);
    EXPECT_EQ(eSystem::GetWindowsVersion(), 0);
}

TEST_F(SystemTest, WeekMaskAndFloorModulo) {
    int16_t days[7];
    eSystem::DecodeWeekMask(days, 65);
    EXPECT_EQ(std::vector<int16_t>(days, days + 7), (std::vector<int16_t>{1, 0, 0, 0, 0, 0, 1}));
    eSystem::DecodeWeekMask(days, 0);
    EXPECT_EQ(std::vector<int16_t>(days, days + 7), std::vector<int16_t>(7, 0));
    eSystem::DecodeWeekMask(days, 128 + 2);  // bit 7 is ignored
    EXPECT_EQ(std::vector<int16_t>(days, days + 7), (std::vector<int16_t>{0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(eSystem::IntMod(7, 2), 1);
    EXPECT_EQ(eSystem::IntMod(-1, 2), 1);
    EXPECT_EQ(eSystem::IntMod(-3, 2), 1);
    EXPECT_EQ(eSystem::IntMod(3, -2), -1);
    EXPECT_THROW(eSystem::IntMod(1, 0), kit::RuntimeError);
}

TEST_F(SystemTest, TaskbarClockAndInputLock) {
    eSystem::HideTrayClock();  // no taskbar: nothing to do
    EXPECT_TRUE(world.system.showCalls().empty());
    world.system.addWindow(0, "Shell_TrayWnd", 10);
    world.system.addWindow(10, "TrayNotifyWnd", 11);
    eSystem::HideTrayClock();  // no clock inside
    EXPECT_TRUE(world.system.showCalls().empty());
    world.system.addWindow(11, "TrayClockWClass", 12);
    eSystem::HideTrayClock();
    eSystem::ShowTrayClock();
    EXPECT_EQ(world.system.showCalls(), (std::vector<std::pair<kit::Handle, int>>{{12, 0}, {12, 9}}));

    eSystem::LockInput();
    eSystem::UnlockInput();
    EXPECT_EQ(world.system.blockInputCalls(), (std::vector<bool>{true, false}));
}

TEST_F(SystemTest, ShutDownReportsEachFailedStepAndGoesOn) {
    ASSERT_FALSE(Start());
    world.backend.reset();
    eSystem::ShutDownComputer();
    EXPECT_TRUE(world.backend.msgBoxCalls().empty());
    ASSERT_EQ(world.system.exitWindowsCalls().size(), 1u);
    EXPECT_EQ(world.system.exitWindowsCalls()[0], (std::pair<std::uint32_t, std::uint32_t>{13, 0xFFFFFFFFu}));
    ASSERT_EQ(world.system.privilegeNames().size(), 1u);
    EXPECT_EQ(world.system.privilegeNames()[0], "SeShutdownPrivilege");
    ASSERT_EQ(world.system.adjustCalls().size(), 1u);

    world.system.setPrivilegeError(Privilege::AdjustTokenPrivileges, 1300);
    eSystem::ShutDownComputer();
    ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].text, "AdjustTokenPrivileges error = 1300");
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 48);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "Tivlo 2.3");
    EXPECT_EQ(world.backend.msgBoxCalls()[0].owner, frmTivlo().hWnd());
    EXPECT_EQ(world.system.exitWindowsCalls().size(), 2u);

    // The token is closed after the steps, once per shut-down.
    EXPECT_EQ(world.system.closedHandles(),
              (std::vector<kit::Handle>{platform::headless::FakeSystem::kTokenHandle,
                                        platform::headless::FakeSystem::kTokenHandle}));

    // A failed lookup leaves its code for the step after it too.
    world.backend.reset();
    world.system.reset();
    world.system.setPrivilegeError(Privilege::LookupPrivilegeValue, 1313);
    eSystem::ShutDownComputer();
    ASSERT_GE(world.backend.msgBoxCalls().size(), 1u);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].text, "LookupPrivilegeValue error =1313");
    EXPECT_EQ(world.system.exitWindowsCalls().size(), 1u);
    EXPECT_EQ(world.system.closedHandles().size(), 1u);

    // No token, nothing to close.
    world.backend.reset();
    world.system.reset();
    world.system.setPrivilegeError(Privilege::OpenProcessToken, 5);
    eSystem::ShutDownComputer();
    EXPECT_TRUE(world.system.closedHandles().empty());
    EXPECT_EQ(world.system.exitWindowsCalls().size(), 1u);
}

}  // namespace
