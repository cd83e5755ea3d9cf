// iphlpapi: the network interfaces' traffic counters. Windows 95 has no such library and
// Windows before Vista has only the table of 32-bit counters; a function missing from this
// Windows is a run-time error at the call.
#pragma once

#include <cstdint>
#include <vector>

namespace os {

constexpr std::uint32_t kIfTypeSoftwareLoopback = 24;

// One interface's row, as either table gives it.
struct InterfaceRow {
  std::uint32_t index = 0;
  std::uint32_t type = 0;
  bool up = false;             // operational
  std::uint64_t received = 0;  // octets; they wrap at 2^32 in the older table
  std::uint64_t sent = 0;
  bool operator==(const InterfaceRow&) const = default;
};

class Iphlpapi {
 public:
  virtual ~Iphlpapi() = default;
  // The interfaces with 64-bit counters (GetIfTable2, Windows Vista and later); 0 (NO_ERROR)
  // on success, else the error.
  virtual std::uint32_t GetIfTable2(std::vector<InterfaceRow>& rows) = 0;
  // The interfaces with 32-bit counters (GetIfTable); 0 on success, else the error.
  virtual std::uint32_t GetIfTable(std::vector<InterfaceRow>& rows) = 0;
};

}  // namespace os
