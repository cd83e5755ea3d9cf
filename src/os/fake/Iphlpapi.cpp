#include "os/fake/Iphlpapi.h"

namespace os::fake {

std::uint32_t Iphlpapi::GetIfTable2(std::vector<InterfaceRow>& rows) {
  Log(iphlpapi::GetIfTable2{});
  kernel32_.RequireFunction("iphlpapi.dll", "GetIfTable2");
  if (error == 0) rows = interfaces;
  return error;
}

std::uint32_t Iphlpapi::GetIfTable(std::vector<InterfaceRow>& rows) {
  Log(iphlpapi::GetIfTable{});
  kernel32_.RequireFunction("iphlpapi.dll", "GetIfTable");
  if (error != 0) return error;
  rows = interfaces;
  for (InterfaceRow& row : rows) row.received &= 0xFFFFFFFFu, row.sent &= 0xFFFFFFFFu;
  return 0;
}

}  // namespace os::fake
