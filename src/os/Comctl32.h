// comctl32: the common controls, registered once at start-up.
#pragma once

namespace os {

class Comctl32 {
 public:
  virtual ~Comctl32() = default;
  virtual void InitCommonControls() = 0;
};

}  // namespace os
