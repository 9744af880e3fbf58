// However the process ends after start-up hid the taskbar clock, the clock comes back; any
// failure in the two start-up load handlers ends the same way.
#include <new>
#include <stdexcept>

#include "kit/runtime.h"
#include "program_fixture.h"
#include "shell/splash.h"
#include "shell/tivlo_form.h"

namespace {

constexpr kit::Handle kClock = 102;
using Show = std::pair<kit::Handle, int>;
const Show kHidden{kClock, 0}, kRestored{kClock, 9};

class ProcessEndTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        AddTaskbar();
    }
    void AddTaskbar() {
        world.system.addWindow(0, "Shell_TrayWnd", 100);
        world.system.addWindow(100, "TrayNotifyWnd", 101);
        world.system.addWindow(101, "TrayClockWClass", kClock);
    }
    // A new process on the same machine: the store stays.
    void NewProcess() {
        ResetGlobals();
        world.backend.reset();
        world.system.reset();
        world.tray.reset();
        AddTaskbar();
    }
    std::vector<Show> Shows() const { return world.system.showCalls(); }
};

TEST_F(ProcessEndTest, AnyFailureInEitherLoadHandlerShowsTheSevereErrorAndEnds) {
    const std::pair<const char*, std::exception_ptr> failures[] = {
        {"run-time error", std::make_exception_ptr(kit::RuntimeError(kit::kErrOverflow))},
        {"allocation", std::make_exception_ptr(std::bad_alloc())},
        {"index", std::make_exception_ptr(std::out_of_range("index"))},
        {"length", std::make_exception_ptr(std::length_error("length"))},
        {"not an exception class", std::make_exception_ptr(42)},
    };
    // The first version query is the start-up form's, the second the main form's, made after
    // the main form has hidden the taskbar clock and added its icons.
    for (int handler : {1, 2}) {
        for (const auto& [what, error] : failures) {
            SCOPED_TRACE(std::string(what) + (handler == 1 ? " in the start-up form" : " in the main form"));
            NewProcess();
            world.system.throwAtVersionQuery(handler, error);

            EXPECT_TRUE(Start());
            EXPECT_EQ(world.backend.endedWith(), 0);
            ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
            const auto& box = world.backend.msgBoxCalls()[0];
            EXPECT_EQ(box.text, "Severe error has occured !");
            EXPECT_EQ(box.caption, "Tivlo 2.3");
            EXPECT_EQ(box.flags, 16);
            EXPECT_NE(box.owner, 0u);
            EXPECT_EQ(box.owner, handler == 1 ? frmSplash().hWnd() : frmTivlo().hWnd());
            if (handler == 1)
                EXPECT_TRUE(Shows().empty());  // never hidden
            else
                EXPECT_EQ(Shows(), (std::vector<Show>{kHidden, kRestored}));
        }
    }
}

TEST_F(ProcessEndTest, TaskbarClockComesBackOnEveryEndAfterStart) {
    // An end from anywhere, with no handler of its own.
    ASSERT_FALSE(Start());
    ASSERT_EQ(Shows(), std::vector<Show>{kHidden});
    EXPECT_TRUE(Ends([] { kit::End(0); }));
    EXPECT_EQ(Shows(), (std::vector<Show>{kHidden, kRestored}));

    // An error that no handler caught: the clock first, then the toolkit's box, code 1.
    NewProcess();
    world.backend.setAppTitle("tivlo");
    ASSERT_FALSE(Start());
    EXPECT_TRUE(Ends([] { kit::EndAfterUnhandledError("Run-time error '9':\n\nSubscript out of range"); }));
    EXPECT_EQ(Shows(), (std::vector<Show>{kHidden, kRestored}));
    ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "tivlo");
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 16);
    EXPECT_EQ(world.backend.endedWith(), 1);

    // "E&xit" shows it once, in its own place, and the end adds nothing.
    NewProcess();
    ASSERT_FALSE(Start());
    EXPECT_TRUE(Ends([] { frmTivlo().mnuExit_Click(); }));
    EXPECT_EQ(Shows(), (std::vector<Show>{kHidden, kRestored}));
}

TEST_F(ProcessEndTest, NoTaskbarClockNothingToGiveBack) {
    world.system.reset();  // no taskbar windows at all, as under Wine
    ASSERT_FALSE(Start());
    EXPECT_TRUE(Ends([] { kit::End(0); }));
    EXPECT_TRUE(Shows().empty());

    // End actions run once, newest first, and one that fails does not stop the others.
    std::string order;
    kit::AtProcessEnd("a", [&] { order += "a"; });
    kit::AtProcessEnd("b", [&] {
        order += "b";
        throw std::runtime_error("b");
    });
    kit::AtProcessEnd("c", [&] { order += "c"; });
    kit::AtProcessEnd("a", [&] { order += "A"; });  // replaces, and is now the newest
    kit::CancelAtProcessEnd("c");
    kit::RunProcessEndActions();
    kit::RunProcessEndActions();
    EXPECT_EQ(order, "Ab");
}

}  // namespace
