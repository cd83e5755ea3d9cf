// Input/output ports of the PC, as WIN95IO.DLL reaches them: only the Windows 95/98/Me family
// lets a program touch them; elsewhere the calls are a run-time error.
#pragma once

#include <cstdint>

namespace os {

class PortIo {
 public:
  virtual ~PortIo() = default;
  virtual std::uint8_t vbInp(std::uint16_t port) = 0;
  virtual void vbOut(std::uint16_t port, std::uint8_t value) = 0;
};

}  // namespace os
