// The fake advapi32: the program's own access token, holding every privilege the fake knows,
// each switched off until switched on.
#pragma once

#include <map>
#include <string>

#include "os/Advapi32.h"
#include "os/fake/Kernel32.h"
#include "os/fake/Library.h"

namespace os::fake {

namespace advapi32 {
using fake::operator<<;

struct OpenProcessToken {
  static constexpr std::string_view kName = "OpenProcessToken";
  Handle processHandle;
  std::uint32_t desiredAccess;
  bool operator==(const OpenProcessToken&) const = default;
};
struct LookupPrivilegeValueA {
  static constexpr std::string_view kName = "LookupPrivilegeValueA";
  std::string systemName;
  std::string name;
  bool operator==(const LookupPrivilegeValueA&) const = default;
};
struct AdjustTokenPrivileges {
  static constexpr std::string_view kName = "AdjustTokenPrivileges";
  Handle tokenHandle;
  bool disableAllPrivileges;
  TokenPrivileges newState;
  std::uint32_t bufferLength;
  bool operator==(const AdjustTokenPrivileges&) const = default;
};

}  // namespace advapi32

class Advapi32 : public os::Advapi32, public Library {
 public:
  Advapi32(CallLog& log, Kernel32& kernel32) : Library(log), kernel32_(kernel32) {}

  // ---- what it answers
  // The privileges of the local computer, by name.
  std::map<std::string, Luid> privilegeValues{{kSeShutdownName, {0x13, 0}}};
  bool tokenOpens = true;

  // Whether the program's token has the privilege switched on now.
  bool Enabled(const std::string& privilegeName) const;

  // ---- advapi32
  // Opens the token of the current process (its pseudo-handle) only.
  std::int32_t OpenProcessToken(Handle processHandle, std::uint32_t desiredAccess, Handle& tokenHandle) override;
  std::int32_t LookupPrivilegeValueA(const std::string& systemName, const std::string& name, Luid& luid) override;
  // As Windows: needs a token opened to adjust privileges, and to query them when the previous
  // state is asked for; fails, changing nothing, when the buffer cannot hold the previous state.
  std::int32_t AdjustTokenPrivileges(Handle tokenHandle, bool disableAllPrivileges, const TokenPrivileges& newState,
                                     std::uint32_t bufferLength, TokenPrivileges& previousState,
                                     std::uint32_t& returnLength) override;

 private:
  static std::pair<std::uint32_t, std::int32_t> Key(const Luid& luid) { return {luid.LowPart, luid.HighPart}; }

  Kernel32& kernel32_;
  std::map<Handle, std::uint32_t> tokens_;                            // handle -> access
  std::map<std::pair<std::uint32_t, std::int32_t>, std::uint32_t> attributes_;  // by privilege
};

}  // namespace os::fake
