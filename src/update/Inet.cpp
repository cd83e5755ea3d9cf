#include "update/Inet.h"

#include "app/Version.h"

namespace update {

Inet::~Inet() {
  try {
    Cancel();
  } catch (const std::exception&) {
    // Nothing to let go of when wininet cannot be reached.
  }
}

void Inet::Cancel() {
  os::Handle handles[] = {request_, connection_, session_};
  request_ = connection_ = session_ = 0;
  for (os::Handle h : handles)
    if (h) wininet_.InternetCloseHandle(h);
}

// Windows says so with a time-out error; Wine's wininet ends a wait for an answer that never
// comes with "connection aborted".
bool Inet::TimedOut() {
  std::uint32_t error = wininet_.GetLastError();
  return error == os::kErrorInternetTimeout || error == os::kErrorInternetConnectionAborted;
}

std::string Inet::OpenURL(const std::string& url) {
  Cancel();  // a transfer left open by an earlier time-out
  bool timedOut = false;
  std::string body;
  try {
    body = Fetch(url, timedOut);
  } catch (...) {
    Cancel();
    throw;
  }
  if (!timedOut) Cancel();
  return body;
}

// The time-outs go on the request itself too: not every wininet hands a session's on to the
// requests made in it.
void Inet::SetTimeouts(os::Handle internet) {
  for (std::uint32_t option : {os::kInternetOptionConnectTimeout, os::kInternetOptionSendTimeout,
                               os::kInternetOptionReceiveTimeout})
    wininet_.InternetSetOptionA(internet, option, kTimeoutMs);
}

std::string Inet::Fetch(const std::string& url, bool& timedOut) {
  session_ = wininet_.InternetOpenA("Quenlar/" + app::VersionText(), os::kInternetOpenTypePreconfig);
  if (!session_) return {};
  SetTimeouts(session_);
  // One attempt to connect, so that the connect time-out is the whole wait.
  wininet_.InternetSetOptionA(session_, os::kInternetOptionConnectRetries, 1);

  os::UrlComponents parts;
  if (!wininet_.InternetCrackUrlA(url, parts)) return {};
  connection_ = wininet_.InternetConnectA(session_, parts.lpszHostName, parts.nPort, os::kInternetServiceHttp);
  if (!connection_) return {};
  // Always from the site, never an old copy from the cache.
  std::uint32_t flags = os::kInternetFlagReload | os::kInternetFlagNoCacheWrite | os::kInternetFlagPragmaNoCache |
                        os::kInternetFlagNoUi;
  if (parts.nScheme == os::kInternetSchemeHttps) flags |= os::kInternetFlagSecure;
  request_ = wininet_.HttpOpenRequestA(connection_, "GET", parts.lpszUrlPath, flags);
  if (!request_) return {};
  SetTimeouts(request_);
  if (!wininet_.HttpSendRequestA(request_)) {
    timedOut = TimedOut();
    return {};
  }
  std::uint32_t status = 0;
  if (!wininet_.HttpQueryInfoA(request_, os::kHttpQueryStatusCode | os::kHttpQueryFlagNumber, status) ||
      status != 200)
    return {};

  std::string body, chunk;
  while (body.size() < kMaxBody) {
    if (!wininet_.InternetReadFile(request_, chunk, 4096)) {
      timedOut = TimedOut();
      return {};
    }
    if (chunk.empty()) break;
    body += chunk;
  }
  if (body.size() > kMaxBody) body.resize(kMaxBody);
  return body;
}

}  // namespace update
