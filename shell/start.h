// The way into the program: loads the start-up form, which loads the main form.
#pragma once

namespace shell {
void StartTivlo();
}
