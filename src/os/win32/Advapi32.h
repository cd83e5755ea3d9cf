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
  std::int32_t RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                             HKey& result) override;
  std::int32_t RegCreateKeyExA(HKey key, const std::string& subKey, std::uint32_t reserved,
                               const std::string& keyClass, std::uint32_t options, std::uint32_t samDesired,
                               HKey& result, std::uint32_t& disposition) override;
  std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t& type, std::string& data,
                                std::uint32_t& dataLength) override;
  std::int32_t RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t reserved, std::uint32_t type,
                              const std::string& data) override;
  std::int32_t RegDeleteValueA(HKey key, const std::string& valueName) override;
  std::int32_t RegCloseKey(HKey key) override;
};

}  // namespace os::win32
