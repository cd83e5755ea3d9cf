// The table of 64-bit counters is declared for Windows Vista and later only; it is looked up at
// run time, so the program still starts where it is missing.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06000000

#include "os/win32/Iphlpapi.h"

#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>

#include "os/win32/SystemLibrary.h"

namespace os::win32 {

std::uint32_t Iphlpapi::GetIfTable2(std::vector<InterfaceRow>& rows) {
  using Get = DWORD(WINAPI*)(MIB_IF_TABLE2**);
  using Free = VOID(WINAPI*)(PVOID);
  auto get = Resolve<Get>("iphlpapi.dll", "GetIfTable2");
  auto free = Resolve<Free>("iphlpapi.dll", "FreeMibTable");
  MIB_IF_TABLE2* table = nullptr;
  DWORD error = get(&table);
  if (error != NO_ERROR) return error;
  rows.clear();
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    const MIB_IF_ROW2& row = table->Table[i];
    rows.push_back({row.InterfaceIndex, row.Type, row.OperStatus == IfOperStatusUp, row.InOctets, row.OutOctets});
  }
  free(table);
  return NO_ERROR;
}

std::uint32_t Iphlpapi::GetIfTable(std::vector<InterfaceRow>& rows) {
  using Get = DWORD(WINAPI*)(MIB_IFTABLE*, ULONG*, BOOL);
  auto get = Resolve<Get>("iphlpapi.dll", "GetIfTable");
  ULONG size = 0;
  std::vector<unsigned char> buffer;
  DWORD error = ERROR_INSUFFICIENT_BUFFER;
  // The table may grow between asking its size and taking it: ask again.
  for (int attempt = 0; attempt < 3 && error == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
    buffer.resize(size > 0 ? size : sizeof(MIB_IFTABLE));
    size = static_cast<ULONG>(buffer.size());
    error = get(reinterpret_cast<MIB_IFTABLE*>(buffer.data()), &size, FALSE);
  }
  if (error != NO_ERROR) return error;
  const auto* table = reinterpret_cast<const MIB_IFTABLE*>(buffer.data());
  rows.clear();
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    const MIB_IFROW& row = table->table[i];
    // Connected and operational both carry traffic (Windows 2000 and later report the latter).
    bool up = row.dwOperStatus == MIB_IF_OPER_STATUS_OPERATIONAL || row.dwOperStatus == MIB_IF_OPER_STATUS_CONNECTED;
    rows.push_back({row.dwIndex, row.dwType, up, row.dwInOctets, row.dwOutOctets});
  }
  return NO_ERROR;
}

}  // namespace os::win32
