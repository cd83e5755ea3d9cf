// The real comctl32.
#pragma once

#include "os/Comctl32.h"

namespace os::win32 {

class Comctl32 : public os::Comctl32 {
 public:
  void InitCommonControls() override;
};

}  // namespace os::win32
