// How the two start-up load handlers end on any failure at all: the severe error box owned by
// the form, then the end of the process.
#pragma once
#include "kit/controls.h"
#include "kit/runtime.h"

namespace shell {

// What the program changed outside itself is put back first, then the box, then the end.
[[noreturn]] void EndWithSevereError(kit::Form& form);

template <class F>
void RunLoadHandler(kit::Form& form, F&& body) {
    try {
        body();
    } catch (const kit::ProcessEnded&) {
        throw;  // the headless backend's end of the process, not a failure
    } catch (...) {
        EndWithSevereError(form);
    }
}

}  // namespace shell
