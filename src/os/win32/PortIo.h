// The real port access: the processor's own input and output instructions.
#pragma once

#include "os/PortIo.h"

namespace os::win32 {

class PortIo : public os::PortIo {
 public:
  std::uint8_t vbInp(std::uint16_t port) override;
  void vbOut(std::uint16_t port, std::uint8_t value) override;
};

}  // namespace os::win32
