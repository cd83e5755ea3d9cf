#include "os/fake/Advapi32.h"

#include <vector>

#include "base/Convert.h"

namespace os::fake {

bool Advapi32::Enabled(const std::string& privilegeName) const {
  auto value = privilegeValues.find(privilegeName);
  if (value == privilegeValues.end()) return false;
  auto state = attributes_.find(Key(value->second));
  return state != attributes_.end() && (state->second & kSePrivilegeEnabled) != 0;
}

std::int32_t Advapi32::OpenProcessToken(Handle processHandle, std::uint32_t desiredAccess, Handle& tokenHandle) {
  Log(advapi32::OpenProcessToken{processHandle, desiredAccess});
  if (!tokenOpens || processHandle != kCurrentProcess) return 0;
  tokenHandle = kernel32_.NewHandle();
  tokens_[tokenHandle] = desiredAccess;
  return 1;
}

std::int32_t Advapi32::LookupPrivilegeValueA(const std::string& systemName, const std::string& name, Luid& luid) {
  Log(advapi32::LookupPrivilegeValueA{systemName, name});
  auto value = privilegeValues.find(name);
  if (!systemName.empty() || value == privilegeValues.end()) return 0;
  luid = value->second;
  return 1;
}

std::int32_t Advapi32::AdjustTokenPrivileges(Handle tokenHandle, bool disableAllPrivileges,
                                             const TokenPrivileges& newState, std::uint32_t bufferLength,
                                             TokenPrivileges& previousState, std::uint32_t& returnLength) {
  Log(advapi32::AdjustTokenPrivileges{tokenHandle, disableAllPrivileges, newState, bufferLength});
  auto token = tokens_.find(tokenHandle);
  if (token == tokens_.end() || !kernel32_.IsOpen(tokenHandle)) return 0;
  std::uint32_t access = token->second;
  if (!(access & kTokenAdjustPrivileges) || (bufferLength > 0 && !(access & kTokenQuery))) return 0;

  // The privileges to set, with their new attributes.
  std::vector<LuidAndAttributes> wanted;
  if (disableAllPrivileges) {
    for (const auto& [key, attributes] : attributes_) wanted.push_back({Luid{key.first, key.second}, 0});
  } else if (newState.PrivilegeCount > 0) {
    wanted.push_back(newState.Privileges[0]);
  }
  // The previous state lists the privileges whose state changes.
  TokenPrivileges previous;
  for (const LuidAndAttributes& privilege : wanted) {
    std::uint32_t before = attributes_.count(Key(privilege.Luid)) ? attributes_.at(Key(privilege.Luid)) : 0;
    if (before == privilege.Attributes) continue;
    if (previous.PrivilegeCount++ == 0) previous.Privileges[0] = {privilege.Luid, before};
  }
  returnLength = 4 + 12 * previous.PrivilegeCount;
  if (bufferLength > 0 && bufferLength < returnLength) return 0;  // the buffer is too small: nothing changes
  for (const LuidAndAttributes& privilege : wanted) attributes_[Key(privilege.Luid)] = privilege.Attributes;
  if (bufferLength > 0) previousState = previous;
  return 1;
}

// ---------------------------------------------------------------- the registry

bool Advapi32::NoCase::operator()(const std::string& a, const std::string& b) const {
  return base::Lower(a) < base::Lower(b);
}

bool Advapi32::FullName(HKey key, const std::string& subKey, std::string& name) const {
  std::string base;
  if (key != kHKeyCurrentUser) {
    auto open = keys_.find(key);
    if (open == keys_.end()) return false;
    base = open->second.name;
  }
  std::string sub = subKey;
  while (!sub.empty() && sub.back() == '\\') sub.pop_back();
  name = base.empty() ? sub : sub.empty() ? base : base + "\\" + sub;
  return true;
}

HKey Advapi32::Open(const std::string& name, std::uint32_t access) {
  HKey handle = nextKey_++;
  keys_[handle] = {name, access};
  return handle;
}

std::int32_t Advapi32::Values(HKey key, std::uint32_t access, RegKeyValues*& values) {
  auto open = keys_.find(key);
  if (open == keys_.end()) return kErrorInvalidHandle;
  if ((open->second.access & access) != access) return kErrorRegAccessDenied;
  auto found = registry.find(open->second.name);
  if (found == registry.end()) return kErrorKeyDeleted;
  values = &found->second;
  return kErrorSuccess;
}

std::int32_t Advapi32::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t /*options*/,
                                     std::uint32_t samDesired, HKey& result) {
  Log(advapi32::RegOpenKeyExA{key, subKey, samDesired});
  std::string name;
  if (!FullName(key, subKey, name)) return kErrorInvalidHandle;
  if (!name.empty() && !registry.count(name)) return kErrorFileNotFound;
  if ((samDesired & kKeySetValue) && registryWriteError != kErrorSuccess) return registryWriteError;
  result = Open(name, samDesired);
  return kErrorSuccess;
}

std::int32_t Advapi32::RegCreateKeyExA(HKey key, const std::string& subKey, std::uint32_t /*reserved*/,
                                       const std::string& /*keyClass*/, std::uint32_t /*options*/,
                                       std::uint32_t samDesired, HKey& result, std::uint32_t& disposition) {
  Log(advapi32::RegCreateKeyExA{key, subKey, samDesired});
  std::string name;
  if (!FullName(key, subKey, name)) return kErrorInvalidHandle;
  const bool existed = name.empty() || registry.count(name);
  if ((!existed || (samDesired & kKeySetValue)) && registryWriteError != kErrorSuccess) return registryWriteError;
  // The key and each one above it that is missing.
  for (std::size_t at = 0; !existed && at != std::string::npos;) {
    at = name.find('\\', at + 1);
    registry[name.substr(0, at)];
  }
  disposition = existed ? kRegOpenedExistingKey : kRegCreatedNewKey;
  result = Open(name, samDesired);
  return kErrorSuccess;
}

std::int32_t Advapi32::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t& type,
                                        std::string& data, std::uint32_t& dataLength) {
  Log(advapi32::RegQueryValueExA{key, valueName, dataLength});
  RegKeyValues* values = nullptr;
  if (std::int32_t error = Values(key, kKeyQueryValue, values)) return error;
  auto value = values->find(valueName);
  if (value == values->end()) return kErrorFileNotFound;
  type = value->second.type;
  const auto size = static_cast<std::uint32_t>(value->second.data.size());
  const std::uint32_t room = dataLength;
  dataLength = size;
  if (room == 0) return kErrorSuccess;
  if (room < size) return kErrorMoreData;
  data = value->second.data;
  return kErrorSuccess;
}

std::int32_t Advapi32::RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t /*reserved*/,
                                      std::uint32_t type, const std::string& data) {
  Log(advapi32::RegSetValueExA{key, valueName, type, data});
  RegKeyValues* values = nullptr;
  if (std::int32_t error = Values(key, kKeySetValue, values)) return error;
  if (registryWriteError != kErrorSuccess) return registryWriteError;
  (*values)[valueName] = {type, data};
  return kErrorSuccess;
}

std::int32_t Advapi32::RegDeleteValueA(HKey key, const std::string& valueName) {
  Log(advapi32::RegDeleteValueA{key, valueName});
  RegKeyValues* values = nullptr;
  if (std::int32_t error = Values(key, kKeySetValue, values)) return error;
  if (registryWriteError != kErrorSuccess) return registryWriteError;
  return values->erase(valueName) ? kErrorSuccess : kErrorFileNotFound;
}

std::int32_t Advapi32::RegCloseKey(HKey key) {
  Log(advapi32::RegCloseKey{key});
  if (key == kHKeyCurrentUser) return kErrorSuccess;
  return keys_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace os::fake
