// The main window's Internet transfer control: fetches one resource over HTTP on a thread of
// its own, so that the window goes on working meanwhile, and gives back its body.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "os/Kernel32.h"
#include "os/Wininet.h"

namespace update {

class Inet {
 public:
  Inet(os::Wininet& wininet, os::Kernel32& kernel32) : wininet_(wininet), kernel32_(kernel32) {}
  ~Inet();
  Inet(const Inet&) = delete;
  Inet& operator=(const Inet&) = delete;

  // Connecting, sending and waiting for each part of the answer give up after this long.
  static constexpr std::uint32_t kTimeoutMs = 10000;
  // More of a body than this is not read: the version file is a few bytes.
  static constexpr std::size_t kMaxBody = 64 * 1024;

  // Starts fetching the resource and returns at once; a transfer still open is cancelled
  // first. A missing wininet, or no thread to run on, is a run-time error.
  void OpenURL(const std::string& url);
  // True from OpenURL until the transfer has ended (or been cancelled and let go).
  bool StillExecuting();
  // Once the transfer has ended: its body, or "" when it failed (no connection, no server, no
  // answer in time, an answer other than 200 OK, a body that breaks off, a cancel).
  std::string Result() const;
  // Once it has ended: whether it failed for want of an answer. A connection the server
  // dropped or refused is no time-out.
  bool TimedOut() const;
  // Stops the open transfer: its handles are closed, which ends the calls waiting on them.
  // StillExecuting turns false once the transfer's thread has noticed.
  void Cancel();

  // The transfer itself, on the thread: run by OpenURL's thread, and by tests.
  struct Transfer;

 private:
  os::Wininet& wininet_;
  os::Kernel32& kernel32_;
  std::shared_ptr<Transfer> transfer_;  // shared with its thread
  os::Handle thread_ = 0;
};

}  // namespace update
