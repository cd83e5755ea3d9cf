#include "os/fake/Wininet.h"

#include <algorithm>

namespace os::fake {
namespace {

constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorInternetUnrecognizedScheme = 12006;
constexpr std::uint32_t kErrorHttpHeaderNotFound = 12150;

}  // namespace

Wininet::Open* Wininet::Find(Handle internet, Kind kind) {
  auto it = open_.find(internet);
  return it == open_.end() || it->second.kind != kind ? nullptr : &it->second;
}

Handle Wininet::Add(Open open) {
  Handle h = next_;
  next_ += 4;
  open_.emplace(h, std::move(open));
  return h;
}

std::uint32_t Wininet::Option(Handle internet, std::uint32_t option, std::uint32_t otherwise) {
  for (auto it = open_.find(internet); it != open_.end(); it = open_.find(it->second.parent)) {
    auto value = it->second.options.find(option);
    if (value != it->second.options.end()) return value->second;
  }
  return otherwise;
}

std::int32_t Wininet::Fail(std::uint32_t error, Handle request) {
  if (error == kErrorInternetTimeout)
    clock_.AdvanceMs(Option(request, kInternetOptionReceiveTimeout, defaultReceiveTimeout));
  lastError_ = error;
  return 0;
}

Handle Wininet::InternetOpenA(const std::string& agent, std::uint32_t accessType) {
  Log(wininet::InternetOpenA{agent, accessType});
  return Add(Open{Kind::Session});
}

std::int32_t Wininet::InternetSetOptionA(Handle internet, std::uint32_t option, std::uint32_t value) {
  Log(wininet::InternetSetOptionA{internet, option, value});
  auto it = open_.find(internet);
  if (it == open_.end()) return Fail(kErrorInvalidHandle);
  it->second.options[option] = value;
  return 1;
}

std::int32_t Wininet::InternetCrackUrlA(const std::string& url, UrlComponents& components) {
  Log(wininet::InternetCrackUrlA{url});
  std::size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string::npos) return Fail(kErrorInternetUnrecognizedScheme);
  std::string scheme = url.substr(0, schemeEnd);
  if (scheme != "http" && scheme != "https") return Fail(kErrorInternetUnrecognizedScheme);
  bool secure = scheme == "https";
  std::string rest = url.substr(schemeEnd + 3);
  std::size_t pathStart = std::min(rest.find('/'), rest.size());
  std::string hostPort = rest.substr(0, pathStart);
  std::size_t colon = hostPort.find(':');
  components.nScheme = secure ? kInternetSchemeHttps : kInternetSchemeHttp;
  components.lpszHostName = hostPort.substr(0, colon);
  components.nPort = colon == std::string::npos ? (secure ? 443 : 80)
                                                : static_cast<std::uint16_t>(std::stoi(hostPort.substr(colon + 1)));
  components.lpszUrlPath = rest.substr(pathStart);
  return 1;
}

Handle Wininet::InternetConnectA(Handle session, const std::string& serverName, std::uint16_t serverPort,
                                 std::uint32_t service) {
  Log(wininet::InternetConnectA{session, serverName, serverPort, service});
  if (!Find(session, Kind::Session)) return static_cast<Handle>(Fail(kErrorInvalidHandle));
  Open connection{Kind::Connection, session};
  connection.address = serverName + ":" + std::to_string(serverPort);
  return Add(std::move(connection));
}

Handle Wininet::HttpOpenRequestA(Handle connection, const std::string& verb, const std::string& objectName,
                                 std::uint32_t flags) {
  Log(wininet::HttpOpenRequestA{connection, verb, objectName, flags});
  Open* server = Find(connection, Kind::Connection);
  if (!server) return static_cast<Handle>(Fail(kErrorInvalidHandle));
  bool secure = flags & kInternetFlagSecure;
  std::string hostPort = server->address;
  std::string ownPort = secure ? ":443" : ":80";
  if (hostPort.size() > ownPort.size() && hostPort.compare(hostPort.size() - ownPort.size(), ownPort.size(), ownPort) == 0)
    hostPort.resize(hostPort.size() - ownPort.size());
  Open request{Kind::Request, connection};
  request.address = (secure ? "https://" : "http://") + hostPort + objectName;
  return Add(std::move(request));
}

std::int32_t Wininet::HttpSendRequestA(Handle request) {
  Log(wininet::HttpSendRequestA{request});
  Open* open = Find(request, Kind::Request);
  if (!open) return Fail(kErrorInvalidHandle);
  auto answer = site.find(open->address);
  if (answer == site.end()) return Fail(kErrorInternetNameNotResolved, request);
  if (answer->second.error != 0) {
    clock_.AdvanceMs(answer->second.errorAfterMs);
    return Fail(answer->second.error, request);
  }
  open->answer = answer->second;
  open->sent = true;
  return 1;
}

std::int32_t Wininet::HttpQueryInfoA(Handle request, std::uint32_t infoLevel, std::uint32_t& number) {
  Log(wininet::HttpQueryInfoA{request, infoLevel});
  Open* open = Find(request, Kind::Request);
  if (!open || !open->sent) return Fail(kErrorInvalidHandle);
  if (infoLevel != (kHttpQueryStatusCode | kHttpQueryFlagNumber)) return Fail(kErrorHttpHeaderNotFound);
  number = open->answer.status;
  return 1;
}

std::int32_t Wininet::InternetReadFile(Handle file, std::string& chunk, std::uint32_t bytesToRead) {
  Log(wininet::InternetReadFile{file, bytesToRead});
  chunk.clear();
  Open* open = Find(file, Kind::Request);
  if (!open || !open->sent) return Fail(kErrorInvalidHandle);
  const std::string& body = open->answer.body;
  std::size_t at = std::min(open->readAt, body.size());
  if (at == body.size() && open->answer.readError != 0) return Fail(open->answer.readError, file);
  chunk = body.substr(at, bytesToRead);
  open->readAt = at + chunk.size();
  return 1;
}

std::int32_t Wininet::InternetCloseHandle(Handle internet) {
  Log(wininet::InternetCloseHandle{internet});
  if (!open_.erase(internet)) return Fail(kErrorInvalidHandle);
  return 1;
}

std::uint32_t Wininet::GetLastError() {
  Log(wininet::GetLastError{});
  return lastError_;
}

}  // namespace os::fake
