#include "os/fake/PortIo.h"

namespace os::fake {

std::uint8_t PortIo::vbInp(std::uint16_t port) {
  Log(portio::vbInp{port});
  return ports[port];
}

void PortIo::vbOut(std::uint16_t port, std::uint8_t value) {
  Log(portio::vbOut{port, value});
  ports[port] = value;
}

}  // namespace os::fake
