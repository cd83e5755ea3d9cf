// The fake ports: the PC's interval timer and speaker control port as plain registers.
#pragma once

#include <map>

#include "os/PortIo.h"
#include "os/fake/Library.h"

namespace os::fake {

namespace portio {
using fake::operator<<;

struct vbInp {
  static constexpr std::string_view kName = "vbInp";
  std::uint16_t port;
  bool operator==(const vbInp&) const = default;
};
struct vbOut {
  static constexpr std::string_view kName = "vbOut";
  std::uint16_t port;
  std::uint8_t value;
  bool operator==(const vbOut&) const = default;
};

}  // namespace portio

class PortIo : public os::PortIo, public Library {
 public:
  explicit PortIo(CallLog& log) : Library(log) {}

  // What each port reads; a write stores the value. The speaker control port starts with the
  // speaker off and some of its other bits set.
  std::map<std::uint16_t, std::uint8_t> ports{{0x61, 0x30}};

  std::uint8_t vbInp(std::uint16_t port) override;
  void vbOut(std::uint16_t port, std::uint8_t value) override;
};

}  // namespace os::fake
