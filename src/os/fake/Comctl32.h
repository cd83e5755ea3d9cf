// The fake comctl32.
#pragma once

#include "os/Comctl32.h"
#include "os/fake/Library.h"

namespace os::fake {

namespace comctl32 {
using fake::operator<<;

struct InitCommonControls {
  static constexpr std::string_view kName = "InitCommonControls";
  bool operator==(const InitCommonControls&) const = default;
};

}  // namespace comctl32

class Comctl32 : public os::Comctl32, public Library {
 public:
  explicit Comctl32(CallLog& log) : Library(log) {}
  void InitCommonControls() override { Log(comctl32::InitCommonControls{}); }
};

}  // namespace os::fake
