#include "os/win32/PortIo.h"

#include <windows.h>

#include "base/RuntimeError.h"

namespace os::win32 {
namespace {

// Windows 95, 98 and Me let a program run the port instructions; the NT family stops the
// program with a privileged-instruction fault instead. The high bit of the version tells the
// two apart, so that a call on the NT family is an ordinary run-time error.
void RequirePortAccess(const char* name) {
  if ((::GetVersion() & 0x80000000u) == 0)
    throw base::RuntimeError(base::kFunctionNotAvailable, std::string("Can't find DLL entry point ") + name +
                                                              " in WIN95IO.DLL");
}

}  // namespace

std::uint8_t PortIo::vbInp(std::uint16_t port) {
  RequirePortAccess("vbInp");
  std::uint8_t value;
  __asm__ volatile("inb %w1, %b0" : "=a"(value) : "Nd"(port));
  return value;
}

void PortIo::vbOut(std::uint16_t port, std::uint8_t value) {
  RequirePortAccess("vbOut");
  __asm__ volatile("outb %b0, %w1" : : "a"(value), "Nd"(port));
}

}  // namespace os::win32
