#include "os/win32/Wininet.h"

#include <windows.h>
#include <wininet.h>

#include "os/win32/SystemLibrary.h"

namespace os::win32 {
namespace {

HINTERNET ToInternet(Handle h) { return reinterpret_cast<HINTERNET>(h); }
Handle FromInternet(HINTERNET h) { return reinterpret_cast<Handle>(h); }

template <typename Function>
Function Entry(const char* name) {
  return Resolve<Function>("wininet.dll", name);
}

thread_local std::uint32_t lastError = 0;

}  // namespace

template <typename Result>
Result Wininet::Checked(Result result) {
  if (!result) lastError = ::GetLastError();
  return result;
}

std::uint32_t Wininet::GetLastError() { return lastError; }

Handle Wininet::InternetOpenA(const std::string& agent, std::uint32_t accessType) {
  using Function = HINTERNET(WINAPI*)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
  return FromInternet(Checked(Entry<Function>("InternetOpenA")(agent.c_str(), accessType, nullptr, nullptr, 0)));
}

std::int32_t Wininet::InternetSetOptionA(Handle internet, std::uint32_t option, std::uint32_t value) {
  using Function = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, DWORD);
  DWORD number = value;
  return Checked(Entry<Function>("InternetSetOptionA")(ToInternet(internet), option, &number, sizeof number));
}

std::int32_t Wininet::InternetCrackUrlA(const std::string& url, UrlComponents& components) {
  using Function = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPURL_COMPONENTSA);
  // Buffers of our own, so that the parts come back as texts of their own.
  char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  char path[INTERNET_MAX_PATH_LENGTH + 1] = {};
  char extra[INTERNET_MAX_PATH_LENGTH + 1] = {};
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = sizeof extra;
  BOOL ok = Checked(Entry<Function>("InternetCrackUrlA")(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts));
  if (ok) {
    components.nScheme = static_cast<std::uint32_t>(parts.nScheme);
    components.lpszHostName = host;
    components.nPort = parts.nPort;
    components.lpszUrlPath = std::string(path) + extra;
  }
  return ok;
}

Handle Wininet::InternetConnectA(Handle session, const std::string& serverName, std::uint16_t serverPort,
                                 std::uint32_t service) {
  using Function = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, INTERNET_PORT, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR);
  return FromInternet(Checked(Entry<Function>("InternetConnectA")(ToInternet(session), serverName.c_str(), serverPort,
                                                                   nullptr, nullptr, service, 0, 0)));
}

Handle Wininet::HttpOpenRequestA(Handle connection, const std::string& verb, const std::string& objectName,
                                 std::uint32_t flags) {
  using Function = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR*, DWORD, DWORD_PTR);
  return FromInternet(Checked(Entry<Function>("HttpOpenRequestA")(ToInternet(connection), verb.c_str(),
                                                                   objectName.c_str(), nullptr, nullptr, nullptr,
                                                                   flags, 0)));
}

std::int32_t Wininet::HttpSendRequestA(Handle request) {
  using Function = BOOL(WINAPI*)(HINTERNET, LPCSTR, DWORD, LPVOID, DWORD);
  return Checked(Entry<Function>("HttpSendRequestA")(ToInternet(request), nullptr, 0, nullptr, 0));
}

std::int32_t Wininet::HttpQueryInfoA(Handle request, std::uint32_t infoLevel, std::uint32_t& number) {
  using Function = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
  DWORD value = 0;
  DWORD length = sizeof value;
  BOOL ok = Checked(Entry<Function>("HttpQueryInfoA")(ToInternet(request), infoLevel, &value, &length, nullptr));
  if (ok) number = value;
  return ok;
}

std::int32_t Wininet::InternetReadFile(Handle file, std::string& chunk, std::uint32_t bytesToRead) {
  using Function = BOOL(WINAPI*)(HINTERNET, LPVOID, DWORD, LPDWORD);
  chunk.assign(bytesToRead, '\0');
  DWORD read = 0;
  BOOL ok = Checked(Entry<Function>("InternetReadFile")(ToInternet(file), chunk.data(), bytesToRead, &read));
  chunk.resize(ok ? read : 0);
  return ok;
}

std::int32_t Wininet::InternetCloseHandle(Handle internet) {
  using Function = BOOL(WINAPI*)(HINTERNET);
  return Checked(Entry<Function>("InternetCloseHandle")(ToInternet(internet)));
}

}  // namespace os::win32
