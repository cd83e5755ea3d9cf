// The fake advapi32: the program's own access token, holding every privilege the fake knows,
// each switched off until switched on; and a small registry of the user's own keys
// (HKEY_CURRENT_USER), kept in memory so that a test reads back what the program wrote.
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
struct RegOpenKeyExA {
  static constexpr std::string_view kName = "RegOpenKeyExA";
  HKey key;
  std::string subKey;
  std::uint32_t samDesired;
  bool operator==(const RegOpenKeyExA&) const = default;
};
struct RegCreateKeyExA {
  static constexpr std::string_view kName = "RegCreateKeyExA";
  HKey key;
  std::string subKey;
  std::uint32_t samDesired;
  bool operator==(const RegCreateKeyExA&) const = default;
};
struct RegQueryValueExA {
  static constexpr std::string_view kName = "RegQueryValueExA";
  HKey key;
  std::string valueName;
  std::uint32_t dataLength;
  bool operator==(const RegQueryValueExA&) const = default;
};
struct RegSetValueExA {
  static constexpr std::string_view kName = "RegSetValueExA";
  HKey key;
  std::string valueName;
  std::uint32_t type;
  std::string data;
  bool operator==(const RegSetValueExA&) const = default;
};
struct RegDeleteValueA {
  static constexpr std::string_view kName = "RegDeleteValueA";
  HKey key;
  std::string valueName;
  bool operator==(const RegDeleteValueA&) const = default;
};
struct RegCloseKey {
  static constexpr std::string_view kName = "RegCloseKey";
  HKey key;
  bool operator==(const RegCloseKey&) const = default;
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

  // A value of the registry: its type and its bytes as stored.
  struct RegValue {
    std::uint32_t type = kRegSz;
    std::string data;
    bool operator==(const RegValue&) const = default;
  };
  // Names of keys and values compared without regard to letter case, as Windows compares them.
  struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  using RegKeyValues = std::map<std::string, RegValue, NoCase>;
  // The user's keys by their names below HKEY_CURRENT_USER ("Software\\Microsoft"), each with
  // its values. Other roots have no keys.
  std::map<std::string, RegKeyValues, NoCase> registry;
  // Writes (a key made or opened for writing, a value set or deleted) fail with this error, as
  // where a policy closes the user's keys; 0: they work.
  std::int32_t registryWriteError = kErrorSuccess;
  // Keys opened and not yet closed, for leak checks.
  std::size_t OpenKeys() const { return keys_.size(); }

  // ---- advapi32
  // Opens the token of the current process (its pseudo-handle) only.
  std::int32_t OpenProcessToken(Handle processHandle, std::uint32_t desiredAccess, Handle& tokenHandle) override;
  std::int32_t LookupPrivilegeValueA(const std::string& systemName, const std::string& name, Luid& luid) override;
  // As Windows: needs a token opened to adjust privileges, and to query them when the previous
  // state is asked for; fails, changing nothing, when the buffer cannot hold the previous state.
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

 private:
  struct OpenKey {
    std::string name;  // below HKEY_CURRENT_USER
    std::uint32_t access;
  };
  // The full name of `subKey` below an open key or the root; false for a key not known.
  bool FullName(HKey key, const std::string& subKey, std::string& name) const;
  HKey Open(const std::string& name, std::uint32_t access);
  // The values of an open key with `access`, or the error that refuses it.
  std::int32_t Values(HKey key, std::uint32_t access, RegKeyValues*& values);

  static std::pair<std::uint32_t, std::int32_t> Key(const Luid& luid) { return {luid.LowPart, luid.HighPart}; }

  Kernel32& kernel32_;
  std::map<Handle, std::uint32_t> tokens_;                            // handle -> access
  std::map<std::pair<std::uint32_t, std::int32_t>, std::uint32_t> attributes_;  // by privilege
  std::map<HKey, OpenKey> keys_;
  HKey nextKey_ = 0x7E00;  // keys are numbered apart from the kernel's handles
};

}  // namespace os::fake
