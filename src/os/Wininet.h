// wininet: HTTP requests. Systems without the library (Windows 95 before Internet Explorer)
// raise a run-time error at the call. Its texts are web addresses and header names, in ASCII:
// the single-byte functions serve every Windows.
#pragma once

#include <cstdint>
#include <string>

#include "os/Types.h"

namespace os {

constexpr std::uint32_t kInternetOpenTypePreconfig = 0;
constexpr std::uint32_t kInternetServiceHttp = 3;
constexpr std::uint32_t kInternetSchemeHttp = 3;
constexpr std::uint32_t kInternetSchemeHttps = 4;
constexpr std::uint32_t kInternetOptionConnectTimeout = 2;
constexpr std::uint32_t kInternetOptionConnectRetries = 3;
constexpr std::uint32_t kInternetOptionSendTimeout = 5;
constexpr std::uint32_t kInternetOptionReceiveTimeout = 6;
constexpr std::uint32_t kInternetFlagReload = 0x80000000;
constexpr std::uint32_t kInternetFlagNoCacheWrite = 0x04000000;
constexpr std::uint32_t kInternetFlagSecure = 0x00800000;
constexpr std::uint32_t kInternetFlagNoUi = 0x00000200;
constexpr std::uint32_t kInternetFlagPragmaNoCache = 0x00000100;
constexpr std::uint32_t kHttpQueryStatusCode = 19;
constexpr std::uint32_t kHttpQueryFlagNumber = 0x20000000;
constexpr std::uint32_t kErrorInternetTimeout = 12002;
constexpr std::uint32_t kErrorInternetNameNotResolved = 12007;
constexpr std::uint32_t kErrorInternetCannotConnect = 12029;
constexpr std::uint32_t kErrorInternetConnectionAborted = 12030;
constexpr std::uint32_t kErrorInternetConnectionReset = 12031;

// The parts of a web address that a request needs.
struct UrlComponents {
  std::uint32_t nScheme = 0;  // kInternetSchemeHttp, kInternetSchemeHttps, ...
  std::string lpszHostName;
  std::uint16_t nPort = 0;    // the scheme's own port when the address names none
  std::string lpszUrlPath;    // with its query, if any
  bool operator==(const UrlComponents&) const = default;
};

class Wininet {
 public:
  virtual ~Wininet() = default;
  // A session with no proxy named and no flags; 0 when it fails.
  virtual Handle InternetOpenA(const std::string& agent, std::uint32_t accessType) = 0;
  // Sets a numeric option (a time-out in milliseconds, a count) of a session or request.
  virtual std::int32_t InternetSetOptionA(Handle internet, std::uint32_t option, std::uint32_t value) = 0;
  virtual std::int32_t InternetCrackUrlA(const std::string& url, UrlComponents& components) = 0;
  // A connection to a server, with no user name or password.
  virtual Handle InternetConnectA(Handle session, const std::string& serverName, std::uint16_t serverPort,
                                  std::uint32_t service) = 0;
  // A request of the HTTP/1.1 kind for an object of the server, with no referrer and any type
  // accepted.
  virtual Handle HttpOpenRequestA(Handle connection, const std::string& verb, const std::string& objectName,
                                  std::uint32_t flags) = 0;
  // Sends the request, with no extra headers or data, and waits for the answer's headers.
  virtual std::int32_t HttpSendRequestA(Handle request) = 0;
  // A numeric header of the answer (kHttpQueryStatusCode | kHttpQueryFlagNumber: the status).
  virtual std::int32_t HttpQueryInfoA(Handle request, std::uint32_t infoLevel, std::uint32_t& number) = 0;
  // Reads the next piece of the body, at most `bytesToRead` bytes, into `chunk`; an empty
  // chunk with success means the body has ended.
  virtual std::int32_t InternetReadFile(Handle file, std::string& chunk, std::uint32_t bytesToRead) = 0;
  virtual std::int32_t InternetCloseHandle(Handle internet) = 0;
  // Why the last of these calls that failed did: the thread's last error, as GetLastError read
  // it right after that call.
  virtual std::uint32_t GetLastError() = 0;
};

}  // namespace os
