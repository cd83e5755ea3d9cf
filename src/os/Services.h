// Everything the program reaches of the operating system, one service per Windows library,
// passed by name: os::Services{.kernel32 = ..., .user32 = ..., ...}.
#pragma once

#include "os/Advapi32.h"
#include "os/Comctl32.h"
#include "os/Comdlg32.h"
#include "os/Files.h"
#include "os/Kernel32.h"
#include "os/PortIo.h"
#include "os/Powrprof.h"
#include "os/Shell32.h"
#include "os/User32.h"

namespace os {

struct Services {
  Kernel32& kernel32;
  User32& user32;
  Advapi32& advapi32;
  Shell32& shell32;
  Comctl32& comctl32;
  Powrprof& powrprof;
  Comdlg32& comdlg32;
  Files& files;
  PortIo& portio;
};

// The services of a bundle that owns one of each, under the same names.
template <typename Bundle>
Services ServicesOf(Bundle& bundle) {
  return {.kernel32 = bundle.kernel32,
          .user32 = bundle.user32,
          .advapi32 = bundle.advapi32,
          .shell32 = bundle.shell32,
          .comctl32 = bundle.comctl32,
          .powrprof = bundle.powrprof,
          .comdlg32 = bundle.comdlg32,
          .files = bundle.files,
          .portio = bundle.portio};
}

}  // namespace os
