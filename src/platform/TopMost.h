// Putting a window above every other window of the desktop, or back into the normal order.
#pragma once

#include "os/User32.h"
#include "ui/Form.h"

namespace platform {

// On: above all other windows, and shown; off: back into the normal order, visibility as it
// was. Neither moves nor resizes the window; the result is not looked at.
void SetTopMost(os::User32& user32, ui::Form& form, bool on);

}  // namespace platform
