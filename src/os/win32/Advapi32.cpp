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

// On the NT family the registry is asked in UTF-16, elsewhere in the code page; the values'
// texts are UTF-8 either way, and their sizes those of the UTF-8 bytes.
std::int32_t Advapi32::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                     std::uint32_t samDesired, HKey& result) {
  HKEY opened = nullptr;
  LONG error = boundary::WideApi()
                   ? WIDE("advapi32.dll", RegOpenKeyExW)(ToKey(key), Wide(subKey).c_str(), options, samDesired, &opened)
                   : ::RegOpenKeyExA(ToKey(key), Ansi(subKey).c_str(), options, samDesired, &opened);
  if (error == ERROR_SUCCESS) result = reinterpret_cast<HKey>(opened);
  return error;
}

std::int32_t Advapi32::RegCreateKeyExA(HKey key, const std::string& subKey, std::uint32_t reserved,
                                       const std::string& keyClass, std::uint32_t options, std::uint32_t samDesired,
                                       HKey& result, std::uint32_t& disposition) {
  HKEY opened = nullptr;
  DWORD how = 0;
  LONG error;
  if (boundary::WideApi()) {
    std::wstring wideClass = Wide(keyClass);
    error = WIDE("advapi32.dll", RegCreateKeyExW)(ToKey(key), Wide(subKey).c_str(), reserved,
                                                  keyClass.empty() ? nullptr : wideClass.data(), options, samDesired,
                                                  nullptr, &opened, &how);
  } else {
    std::string ansiClass = Ansi(keyClass);
    error = ::RegCreateKeyExA(ToKey(key), Ansi(subKey).c_str(), reserved, keyClass.empty() ? nullptr : ansiClass.data(),
                              options, samDesired, nullptr, &opened, &how);
  }
  if (error == ERROR_SUCCESS) {
    result = reinterpret_cast<HKey>(opened);
    disposition = how;
  }
  return error;
}

namespace {

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The whole value, its texts in UTF-8; an error code.
LONG ReadValue(HKEY key, const std::string& name, DWORD& type, std::string& value) {
  const bool wide = boundary::WideApi();
  const std::wstring wideName = Wide(name);
  const std::string ansiName = Ansi(name);
  auto query = [&](BYTE* data, DWORD* length) {
    return wide ? WIDE("advapi32.dll", RegQueryValueExW)(key, wideName.c_str(), nullptr, &type, data, length)
                : ::RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, data, length);
  };
  DWORD length = 0;
  LONG error = query(nullptr, &length);
  // A value that grows between the two questions is asked again, a few times.
  for (int attempt = 0; attempt < 3 && error == ERROR_SUCCESS; ++attempt) {
    std::string bytes(length + sizeof(wchar_t), '\0');
    DWORD room = length;
    error = query(reinterpret_cast<BYTE*>(bytes.data()), &room);
    if (error == ERROR_MORE_DATA) {
      length = room;
      error = ERROR_SUCCESS;
      continue;
    }
    if (error != ERROR_SUCCESS) break;
    bytes.resize(room);
    if (!IsText(type))
      value = bytes;
    else if (wide)
      value = base::Utf8(std::wstring_view(reinterpret_cast<const wchar_t*>(bytes.data()), room / sizeof(wchar_t)));
    else
      value = boundary::FromCodePage(bytes);
    return ERROR_SUCCESS;
  }
  return error == ERROR_SUCCESS ? ERROR_MORE_DATA : error;
}

}  // namespace

std::int32_t Advapi32::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t& type,
                                        std::string& data, std::uint32_t& dataLength) {
  DWORD kind = 0;
  std::string value;
  LONG error = ReadValue(ToKey(key), valueName, kind, value);
  if (error != ERROR_SUCCESS) return error;
  type = kind;
  const std::uint32_t size = static_cast<std::uint32_t>(value.size());
  if (dataLength > 0 && size > dataLength) error = ERROR_MORE_DATA;
  if (dataLength > 0 && error == ERROR_SUCCESS) data = value;
  dataLength = size;
  return error;
}

std::int32_t Advapi32::RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t reserved,
                                      std::uint32_t type, const std::string& data) {
  if (boundary::WideApi()) {
    const std::wstring text = IsText(type) ? Wide(data) : std::wstring();
    const BYTE* bytes = IsText(type) ? reinterpret_cast<const BYTE*>(text.data()) : reinterpret_cast<const BYTE*>(data.data());
    const DWORD size = static_cast<DWORD>(IsText(type) ? text.size() * sizeof(wchar_t) : data.size());
    return WIDE("advapi32.dll", RegSetValueExW)(ToKey(key), Wide(valueName).c_str(), reserved, type, bytes, size);
  }
  const std::string bytes = IsText(type) ? Ansi(data) : data;
  return ::RegSetValueExA(ToKey(key), Ansi(valueName).c_str(), reserved, type,
                          reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
}

std::int32_t Advapi32::RegDeleteValueA(HKey key, const std::string& valueName) {
  if (boundary::WideApi()) return WIDE("advapi32.dll", RegDeleteValueW)(ToKey(key), Wide(valueName).c_str());
  return ::RegDeleteValueA(ToKey(key), Ansi(valueName).c_str());
}

std::int32_t Advapi32::RegCloseKey(HKey key) { return ::RegCloseKey(ToKey(key)); }

}  // namespace os::win32
