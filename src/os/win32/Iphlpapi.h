// The real iphlpapi, looked up at run time: Windows 95 has no such library, and only Windows
// Vista and later have the table of 64-bit counters.
#pragma once

#include "os/Iphlpapi.h"

namespace os::win32 {

class Iphlpapi : public os::Iphlpapi {
 public:
  std::uint32_t GetIfTable2(std::vector<InterfaceRow>& rows) override;
  std::uint32_t GetIfTable(std::vector<InterfaceRow>& rows) override;
};

}  // namespace os::win32
