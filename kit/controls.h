// The toolkit's forms and controls in one include.
#pragma once
#include <cstdlib>
#include <string>

#include "kit/backend.h"
#include "kit/button.h"
#include "kit/checkbox.h"
#include "kit/combobox.h"
#include "kit/control.h"
#include "kit/control_array.h"
#include "kit/form.h"
#include "kit/frame.h"
#include "kit/gdi.h"
#include "kit/image.h"
#include "kit/label.h"
#include "kit/line.h"
#include "kit/menu.h"
#include "kit/option.h"
#include "kit/picture.h"
#include "kit/picturebox.h"
#include "kit/prop.h"
#include "kit/runtime.h"
#include "kit/scrollbar.h"
#include "kit/statusbar.h"
#include "kit/surface.h"
#include "kit/textbox.h"
#include "kit/timer.h"
#include "kit/updown.h"
#include "kit/usercontrol.h"

namespace kit {

// Shorthands for the backend's services.
inline void DoEvents() { backend().doEvents(); }
inline void WaitEvents() { backend().waitEvents(); }
// The toolkit's seconds-since-midnight counter, with its fraction.
inline double SecondsSinceMidnight() { return backend().secondsSinceMidnight(); }
inline DateTime Now() { return backend().now(); }
// Milliseconds that never go back, whatever happens to the clock: for measuring elapsed time.
inline std::uint64_t TickMs() { return backend().tickMs(); }
[[noreturn]] inline void End(int code = 0) {
    RunProcessEndActions();
    backend().endProcess(code);
    std::abort();  // endProcess never returns
}
// A message box with no owner; an empty caption gives the application's title.
int MsgBox(const std::string& text, int flags = kMbOk, const std::string& caption = {});
// A message box owned by a window (a form's or a control's).
int MessageBox(Handle owner, const std::string& text, const std::string& caption, int flags);
// The screen in twips.
inline int ScreenWidth() { return backend().screenWidthTwips(); }
inline int ScreenHeight() { return backend().screenHeightTwips(); }

}  // namespace kit
