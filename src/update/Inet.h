// The main window's Internet transfer control: fetches one resource over HTTP and gives back
// its body.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "os/Wininet.h"

namespace update {

class Inet {
 public:
  explicit Inet(os::Wininet& wininet) : wininet_(wininet) {}
  ~Inet();
  Inet(const Inet&) = delete;
  Inet& operator=(const Inet&) = delete;

  // Connecting, sending and waiting for each part of the answer give up after this long.
  static constexpr std::uint32_t kTimeoutMs = 10000;
  // More of a body than this is not read: the version file is a few bytes.
  static constexpr std::size_t kMaxBody = 64 * 1024;

  // Fetches the resource and returns its body once the transfer has ended. A failed fetch
  // returns "": no connection, no server, no answer in time, an answer other than 200 OK (an
  // error page is not the resource), a body that breaks off. A transfer that timed out stays
  // open, still executing, until Cancel. A missing wininet is a run-time error.
  std::string OpenURL(const std::string& url);
  // True while a transfer is open: only one that timed out and has not been cancelled.
  bool StillExecuting() const { return session_ != 0; }
  // Stops the open transfer and lets its handles go.
  void Cancel();

 private:
  // The transfer on the handles it opens: the body, or "" when it failed, `timedOut` telling
  // whether for want of an answer. The handles stay open for the caller to close.
  std::string Fetch(const std::string& url, bool& timedOut);
  // The call that just failed gave up waiting.
  bool TimedOut();

  // Connecting, sending and each wait for the answer give up after kTimeoutMs.
  void SetTimeouts(os::Handle internet);

  os::Wininet& wininet_;
  os::Handle session_ = 0;
  os::Handle connection_ = 0;
  os::Handle request_ = 0;
};

}  // namespace update
