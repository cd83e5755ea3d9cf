#include "platform/TopMost.h"

namespace platform {

void SetTopMost(os::User32& user32, ui::Form& form, bool on) {
  if (on)
    user32.SetWindowPos(form.hWnd(), os::kHwndTopMost, 0, 0, 0, 0, os::kSwpNoSize | os::kSwpNoMove | os::kSwpShowWindow);
  else
    user32.SetWindowPos(form.hWnd(), os::kHwndNoTopMost, 0, 0, 0, 0, os::kSwpNoSize | os::kSwpNoMove);
}

}  // namespace platform
