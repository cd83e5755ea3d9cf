// The real advapi32.
#pragma once

#include "os/Advapi32.h"

namespace os::win32 {

class Advapi32 : public os::Advapi32 {
 public:
  std::int32_t OpenProcessToken(Handle processHandle, std::uint32_t desiredAccess, Handle& tokenHandle) override;
  std::int32_t LookupPrivilegeValueA(const std::string& systemName, const std::string& name, Luid& luid) override;
  std::int32_t AdjustTokenPrivileges(Handle tokenHandle, bool disableAllPrivileges, const TokenPrivileges& newState,
                                     std::uint32_t bufferLength, TokenPrivileges& previousState,
                                     std::uint32_t& returnLength) override;
};

}  // namespace os::win32
