// Everything the program reaches of the operating system, one service per Windows library,
// passed by name: os::Services{.kernel32 = ..., .user32 = ..., ...}.
#pragma once

#include "os/Advapi32.h"
#include "os/Comctl32.h"
#include "os/Comdlg32.h"
#include "os/Files.h"
#include "os/Iphlpapi.h"
#include "os/Kernel32.h"
#include "os/PortIo.h"
#include "os/Powrprof.h"
#include "os/Quartz.h"
#include "os/Shell32.h"
#include "os/User32.h"
#include "os/Wininet.h"

#include <type_traits>

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
  Quartz& quartz;
  Wininet& wininet;
  PortIo& portio;
  Iphlpapi& iphlpapi;
};

// Services chosen in place of a bundle's own (tests and benchmarks mix real and fake ones).
struct Chosen {
  Kernel32* kernel32 = nullptr;
  User32* user32 = nullptr;
  Advapi32* advapi32 = nullptr;
  Shell32* shell32 = nullptr;
  Comctl32* comctl32 = nullptr;
  Powrprof* powrprof = nullptr;
  Comdlg32* comdlg32 = nullptr;
  Files* files = nullptr;
  Quartz* quartz = nullptr;
  Wininet* wininet = nullptr;
  PortIo* portio = nullptr;
  Iphlpapi* iphlpapi = nullptr;
};

// The services of a bundle that owns one of each, under the same names, except those chosen:
// os::ServicesOf(fake, {.user32 = &mine}).
template <typename Bundle>
Services ServicesOf(Bundle& bundle, const Chosen& chosen = {}) {
  auto pick = [](auto* mine, auto& own) -> std::remove_pointer_t<decltype(mine)>& { return mine ? *mine : own; };
  return {.kernel32 = pick(chosen.kernel32, bundle.kernel32),
          .user32 = pick(chosen.user32, bundle.user32),
          .advapi32 = pick(chosen.advapi32, bundle.advapi32),
          .shell32 = pick(chosen.shell32, bundle.shell32),
          .comctl32 = pick(chosen.comctl32, bundle.comctl32),
          .powrprof = pick(chosen.powrprof, bundle.powrprof),
          .comdlg32 = pick(chosen.comdlg32, bundle.comdlg32),
          .files = pick(chosen.files, bundle.files),
          .quartz = pick(chosen.quartz, bundle.quartz),
          .wininet = pick(chosen.wininet, bundle.wininet),
          .portio = pick(chosen.portio, bundle.portio),
          .iphlpapi = pick(chosen.iphlpapi, bundle.iphlpapi)};
}

}  // namespace os
