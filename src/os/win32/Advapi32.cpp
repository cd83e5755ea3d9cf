#include "os/win32/Advapi32.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "os/win32/SystemLibrary.h"

namespace os::win32 {

std::int32_t Advapi32::OpenProcessToken(Handle processHandle, std::uint32_t desiredAccess, Handle& tokenHandle) {
  HANDLE token = nullptr;
  BOOL ok = ::OpenProcessToken(ToHandle(processHandle), desiredAccess, &token);
  if (ok) tokenHandle = FromHandle(token);
  return ok;
}

std::int32_t Advapi32::LookupPrivilegeValueA(const std::string& systemName, const std::string& name, Luid& luid) {
  LUID value{};
  BOOL ok = ::LookupPrivilegeValueA(systemName.empty() ? nullptr : systemName.c_str(), name.c_str(), &value);
  if (ok) luid = {value.LowPart, value.HighPart};
  return ok;
}

std::int32_t Advapi32::AdjustTokenPrivileges(Handle tokenHandle, bool disableAllPrivileges,
                                             const TokenPrivileges& newState, std::uint32_t bufferLength,
                                             TokenPrivileges& previousState, std::uint32_t& returnLength) {
  TOKEN_PRIVILEGES state{};
  state.PrivilegeCount = std::min<DWORD>(newState.PrivilegeCount, 1);
  state.Privileges[0].Luid = {newState.Privileges[0].Luid.LowPart, newState.Privileges[0].Luid.HighPart};
  state.Privileges[0].Attributes = newState.Privileges[0].Attributes;
  // Windows writes up to `bufferLength` bytes of the previous state: the buffer is that long,
  // whatever the caller says, and at least as long as the record read back from it.
  std::size_t bytes = std::max<std::size_t>(bufferLength, sizeof(TOKEN_PRIVILEGES));
  std::vector<DWORD> buffer((bytes + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
  auto* previous = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.data());
  DWORD length = 0;
  BOOL ok = ::AdjustTokenPrivileges(ToHandle(tokenHandle), disableAllPrivileges, &state, bufferLength,
                                    bufferLength > 0 ? previous : nullptr, bufferLength > 0 ? &length : nullptr);
  if (ok && bufferLength > 0) {
    returnLength = length;
    previousState.PrivilegeCount = previous->PrivilegeCount;
    if (previous->PrivilegeCount > 0 && bufferLength >= sizeof(TOKEN_PRIVILEGES))
      previousState.Privileges[0] = {Luid{previous->Privileges[0].Luid.LowPart, previous->Privileges[0].Luid.HighPart},
                                     previous->Privileges[0].Attributes};
  }
  return ok;
}

}  // namespace os::win32

namespace os::win32 {
namespace {

HKEY ToKey(HKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

std::int32_t Advapi32::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                     std::uint32_t samDesired, HKey& result) {
  HKEY opened = nullptr;
  LONG error = ::RegOpenKeyExA(ToKey(key), subKey.c_str(), options, samDesired, &opened);
  if (error == ERROR_SUCCESS) result = reinterpret_cast<HKey>(opened);
  return error;
}

std::int32_t Advapi32::RegCreateKeyExA(HKey key, const std::string& subKey, std::uint32_t reserved,
                                       const std::string& keyClass, std::uint32_t options, std::uint32_t samDesired,
                                       HKey& result, std::uint32_t& disposition) {
  HKEY opened = nullptr;
  DWORD how = 0;
  LONG error = ::RegCreateKeyExA(ToKey(key), subKey.c_str(), reserved,
                                 keyClass.empty() ? nullptr : const_cast<char*>(keyClass.c_str()), options,
                                 samDesired, nullptr, &opened, &how);
  if (error == ERROR_SUCCESS) {
    result = reinterpret_cast<HKey>(opened);
    disposition = how;
  }
  return error;
}

std::int32_t Advapi32::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t& type,
                                        std::string& data, std::uint32_t& dataLength) {
  DWORD kind = 0;
  DWORD length = dataLength;
  std::string buffer(dataLength, '\0');
  LONG error = ::RegQueryValueExA(ToKey(key), valueName.c_str(), nullptr, &kind,
                                  dataLength > 0 ? reinterpret_cast<BYTE*>(buffer.data()) : nullptr, &length);
  if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
    type = kind;
    if (error == ERROR_SUCCESS && dataLength > 0) data = buffer.substr(0, std::min<DWORD>(length, dataLength));
    dataLength = length;
  }
  return error;
}

std::int32_t Advapi32::RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t reserved,
                                      std::uint32_t type, const std::string& data) {
  return ::RegSetValueExA(ToKey(key), valueName.c_str(), reserved, type, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
}

std::int32_t Advapi32::RegDeleteValueA(HKey key, const std::string& valueName) {
  return ::RegDeleteValueA(ToKey(key), valueName.c_str());
}

std::int32_t Advapi32::RegCloseKey(HKey key) { return ::RegCloseKey(ToKey(key)); }

}  // namespace os::win32
