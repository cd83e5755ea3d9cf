// The fake iphlpapi: interfaces whose counters a test moves on.
#pragma once

#include <vector>

#include "os/Iphlpapi.h"
#include "os/fake/Kernel32.h"
#include "os/fake/Library.h"

namespace os::fake {

namespace iphlpapi {
using fake::operator<<;

struct GetIfTable2 {
  static constexpr std::string_view kName = "GetIfTable2";
  bool operator==(const GetIfTable2&) const = default;
};
struct GetIfTable {
  static constexpr std::string_view kName = "GetIfTable";
  bool operator==(const GetIfTable&) const = default;
};

}  // namespace iphlpapi

class Iphlpapi : public os::Iphlpapi, public Library {
 public:
  // Functions missing from this Windows are those the kernel32 fake names.
  Iphlpapi(CallLog& log, Kernel32& kernel32) : Library(log), kernel32_(kernel32) {}

  // The interfaces, with their full counters: the older table cuts them to 32 bits.
  std::vector<InterfaceRow> interfaces;
  std::uint32_t error = 0;  // what both tables answer; nonzero: no rows

  std::uint32_t GetIfTable2(std::vector<InterfaceRow>& rows) override;
  std::uint32_t GetIfTable(std::vector<InterfaceRow>& rows) override;

 private:
  Kernel32& kernel32_;
};

}  // namespace os::fake
