#include "os/win32/Comctl32.h"

#include <windows.h>
#include <commctrl.h>

namespace os::win32 {

void Comctl32::InitCommonControls() {
  ::InitCommonControls();
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&classes);
}

}  // namespace os::win32
