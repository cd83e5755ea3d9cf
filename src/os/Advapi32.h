// advapi32: switching a privilege of the program's own access token on and off.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "os/Types.h"

namespace os {

constexpr std::uint32_t kTokenAdjustPrivileges = 0x20;
constexpr std::uint32_t kTokenQuery = 0x8;
constexpr std::uint32_t kSePrivilegeEnabled = 2;
constexpr const char* kSeShutdownName = "SeShutdownPrivilege";

// A locally unique identifier, as the system names a privilege.
struct Luid {
  std::uint32_t LowPart = 0;
  std::int32_t HighPart = 0;
  bool operator==(const Luid&) const = default;
};

struct LuidAndAttributes {
  os::Luid Luid;
  std::uint32_t Attributes = 0;
  bool operator==(const LuidAndAttributes&) const = default;
};

// The token-privileges record with room for one privilege: 16 bytes in Windows.
struct TokenPrivileges {
  std::uint32_t PrivilegeCount = 0;
  std::array<LuidAndAttributes, 1> Privileges{};
  bool operator==(const TokenPrivileges&) const = default;
};
constexpr std::uint32_t kTokenPrivilegesSize = 16;

class Advapi32 {
 public:
  virtual ~Advapi32() = default;
  virtual std::int32_t OpenProcessToken(Handle processHandle, std::uint32_t desiredAccess, Handle& tokenHandle) = 0;
  // An empty system name means the local computer.
  virtual std::int32_t LookupPrivilegeValueA(const std::string& systemName, const std::string& name, Luid& luid) = 0;
  // The previous state of the privileges changed goes into `previousState` when `bufferLength`
  // bytes hold it; `returnLength` receives the size it needs.
  virtual std::int32_t AdjustTokenPrivileges(Handle tokenHandle, bool disableAllPrivileges,
                                             const TokenPrivileges& newState, std::uint32_t bufferLength,
                                             TokenPrivileges& previousState, std::uint32_t& returnLength) = 0;
};

}  // namespace os
