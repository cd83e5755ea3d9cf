#include "os/fake/Advapi32.h"

#include <vector>

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

}  // namespace os::fake
