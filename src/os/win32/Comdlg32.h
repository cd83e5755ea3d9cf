// The real comdlg32.
#pragma once

#include "os/Comdlg32.h"

namespace os::win32 {

class Comdlg32 : public os::Comdlg32 {
 public:
  std::int32_t GetOpenFileNameA(OpenFileName& ofn) override;
};

}  // namespace os::win32
