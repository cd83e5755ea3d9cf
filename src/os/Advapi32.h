// advapi32: switching a privilege of the program's own access token on and off; the user's own
// registry keys and their values.
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

// A registry key: one of the predefined roots, or one opened from it.
using HKey = Handle;
// HKEY_CURRENT_USER, as Windows writes it: the 32-bit value sign-extended to a pointer's width.
constexpr HKey kHKeyCurrentUser = static_cast<HKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000001)));
constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyWrite = 0x20006;
constexpr std::uint32_t kRegOptionNonVolatile = 0;
constexpr std::uint32_t kRegCreatedNewKey = 1;
constexpr std::uint32_t kRegOpenedExistingKey = 2;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
// What the registry functions return (they give the error itself, not through GetLastError).
constexpr std::int32_t kErrorSuccess = 0;
constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorRegAccessDenied = 5;
constexpr std::int32_t kErrorInvalidHandle = 6;
constexpr std::int32_t kErrorMoreData = 234;
constexpr std::int32_t kErrorKeyDeleted = 1018;  // the key was deleted while open

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

  // ---- the registry. Key names are relative to `key`; an empty value name is the key's
  // default value. Each returns an error code, kErrorSuccess when it worked.
  virtual std::int32_t RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                     std::uint32_t samDesired, HKey& result) = 0;
  // Opens the key, making it (and the keys above it) where it is missing; `disposition` says
  // which happened. The key's class and security are Windows' defaults.
  virtual std::int32_t RegCreateKeyExA(HKey key, const std::string& subKey, std::uint32_t reserved,
                                       const std::string& keyClass, std::uint32_t options, std::uint32_t samDesired,
                                       HKey& result, std::uint32_t& disposition) = 0;
  // The value's type and bytes (a string's in UTF-8 with its ending NUL, as stored). `dataLength`
  // gives the room offered in `data` and receives the size of the value (a string's in UTF-8
  // bytes); with a length of 0 only the type and size are asked; a value longer than the room
  // gives kErrorMoreData and its size.
  virtual std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t& type,
                                        std::string& data, std::uint32_t& dataLength) = 0;
  // Stores `data` as the value's bytes (cbData is its size): a string's ending NUL is part of it;
  // a string goes to Windows in the form its registry keeps.
  virtual std::int32_t RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t reserved,
                                      std::uint32_t type, const std::string& data) = 0;
  virtual std::int32_t RegDeleteValueA(HKey key, const std::string& valueName) = 0;
  virtual std::int32_t RegCloseKey(HKey key) = 0;
};

}  // namespace os
