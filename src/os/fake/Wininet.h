// The fake wininet: a web site whose answers a test writes down by address, including the
// failures: nothing listening, no answer at all, an error status, a body that breaks off.
#pragma once

#include <map>
#include <string>

#include "os/Wininet.h"
#include "os/fake/Library.h"
#include "os/fake/VirtualClock.h"

namespace os::fake {

namespace wininet {
using fake::operator<<;

struct InternetOpenA {
  static constexpr std::string_view kName = "InternetOpenA";
  std::string agent;
  std::uint32_t accessType;
  bool operator==(const InternetOpenA&) const = default;
};
struct InternetSetOptionA {
  static constexpr std::string_view kName = "InternetSetOptionA";
  Handle internet;
  std::uint32_t option;
  std::uint32_t value;
  bool operator==(const InternetSetOptionA&) const = default;
};
struct InternetCrackUrlA {
  static constexpr std::string_view kName = "InternetCrackUrlA";
  std::string url;
  bool operator==(const InternetCrackUrlA&) const = default;
};
struct InternetConnectA {
  static constexpr std::string_view kName = "InternetConnectA";
  Handle session;
  std::string serverName;
  std::uint16_t serverPort;
  std::uint32_t service;
  bool operator==(const InternetConnectA&) const = default;
};
struct HttpOpenRequestA {
  static constexpr std::string_view kName = "HttpOpenRequestA";
  Handle connection;
  std::string verb;
  std::string objectName;
  std::uint32_t flags;
  bool operator==(const HttpOpenRequestA&) const = default;
};
struct HttpSendRequestA {
  static constexpr std::string_view kName = "HttpSendRequestA";
  Handle request;
  bool operator==(const HttpSendRequestA&) const = default;
};
struct HttpQueryInfoA {
  static constexpr std::string_view kName = "HttpQueryInfoA";
  Handle request;
  std::uint32_t infoLevel;
  bool operator==(const HttpQueryInfoA&) const = default;
};
struct InternetReadFile {
  static constexpr std::string_view kName = "InternetReadFile";
  Handle file;
  std::uint32_t bytesToRead;
  bool operator==(const InternetReadFile&) const = default;
};
struct InternetCloseHandle {
  static constexpr std::string_view kName = "InternetCloseHandle";
  Handle internet;
  bool operator==(const InternetCloseHandle&) const = default;
};
struct GetLastError {
  static constexpr std::string_view kName = "GetLastError";
  bool operator==(const GetLastError&) const = default;
};

}  // namespace wininet

class Wininet : public os::Wininet, public Library {
 public:
  explicit Wininet(CallLog& log, VirtualClock& clock) : Library(log), clock_(clock) {}

  // How the site answers a request for one address.
  struct Answer {
    std::uint32_t status = 200;
    std::string body;
    // Sending the request fails with this error instead: kErrorInternetCannotConnect when
    // nothing listens, kErrorInternetTimeout when the server never answers (once the
    // request's receive time-out has passed on the clock).
    std::uint32_t error = 0;
    // The body breaks off with this error after its text (a time-out again costs its time).
    std::uint32_t readError = 0;
    // Sending fails only after this long (Wine's wininet reports a server that never answers
    // as a connection aborted, once the time-out has passed).
    std::uint32_t errorAfterMs = 0;

    static Answer Page(std::string body, std::uint32_t status = 200) { return {status, std::move(body), 0, 0, 0}; }
    static Answer Failing(std::uint32_t error, std::uint32_t afterMs = 0) { return {200, "", error, 0, afterMs}; }
    static Answer BreakingOff(std::string start, std::uint32_t error) { return {200, std::move(start), 0, error, 0}; }
  };
  // By address ("http://host:port/path"; the port only when it is not the scheme's own); an
  // address not listed names a host that cannot be found.
  std::map<std::string, Answer> site;
  // The receive time-out of a request that sets none, in milliseconds.
  std::uint32_t defaultReceiveTimeout = 30000;

  std::size_t OpenHandles() const { return open_.size(); }

  Handle InternetOpenA(const std::string& agent, std::uint32_t accessType) override;
  std::int32_t InternetSetOptionA(Handle internet, std::uint32_t option, std::uint32_t value) override;
  std::int32_t InternetCrackUrlA(const std::string& url, UrlComponents& components) override;
  Handle InternetConnectA(Handle session, const std::string& serverName, std::uint16_t serverPort,
                          std::uint32_t service) override;
  Handle HttpOpenRequestA(Handle connection, const std::string& verb, const std::string& objectName,
                          std::uint32_t flags) override;
  std::int32_t HttpSendRequestA(Handle request) override;
  std::int32_t HttpQueryInfoA(Handle request, std::uint32_t infoLevel, std::uint32_t& number) override;
  std::int32_t InternetReadFile(Handle file, std::string& chunk, std::uint32_t bytesToRead) override;
  std::int32_t InternetCloseHandle(Handle internet) override;
  std::uint32_t GetLastError() override;

 private:
  enum class Kind { Session, Connection, Request };
  struct Open {
    explicit Open(Kind k, Handle above = 0) : kind(k), parent(above) {}
    Kind kind;
    Handle parent;
    std::map<std::uint32_t, std::uint32_t> options;
    std::string address;  // a connection's "host:port", a request's whole address
    bool sent = false;
    Answer answer;
    std::size_t readAt = 0;
  };
  Open* Find(Handle internet, Kind kind);
  Handle Add(Open open);
  // The option as the handle or the nearest one above it set it.
  std::uint32_t Option(Handle internet, std::uint32_t option, std::uint32_t otherwise);
  // Fails the call with `error`; a time-out first lets the request's receive time-out pass.
  std::int32_t Fail(std::uint32_t error, Handle request = 0);

  VirtualClock& clock_;
  std::uint32_t lastError_ = 0;
  Handle next_ = 0xCC0000;
  std::map<Handle, Open> open_;
};

}  // namespace os::fake
