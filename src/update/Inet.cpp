#include "update/Inet.h"

#include <mutex>
#include <vector>

#include "base/RuntimeError.h"
#include "session/Version.h"

namespace update {

// What the transfer's thread and the window's thread share. The thread makes the handles and
// keeps them here; Cancel takes them away and closes them, which makes a call waiting on one
// return at once (wininet's way of stopping a transfer). A handle made after the cancel is
// closed by the thread itself.
struct Inet::Transfer {
  Transfer(os::Wininet& w, os::Kernel32& k) : wininet(w), kernel32(k) {}

  os::Wininet& wininet;
  os::Kernel32& kernel32;
  std::mutex lock;
  std::vector<os::Handle> handles;  // session, connection, request, as they are made
  bool cancelled = false;
  std::string body;     // the result, once the thread has ended
  bool timedOut = false;

  // Keeps a new handle for Cancel to find; false (and the handle closed) after a cancel.
  bool Keep(os::Handle handle) {
    std::unique_lock held(lock);
    if (!cancelled) {
      handles.push_back(handle);
      return true;
    }
    held.unlock();
    wininet.InternetCloseHandle(handle);
    return false;
  }
  std::vector<os::Handle> TakeHandles() {
    std::lock_guard held(lock);
    std::vector<os::Handle> taken;
    taken.swap(handles);
    return taken;
  }
  void CloseAll() {
    std::vector<os::Handle> taken = TakeHandles();
    for (auto h = taken.rbegin(); h != taken.rend(); ++h) wininet.InternetCloseHandle(*h);
  }
  bool Cancelled() {
    std::lock_guard held(lock);
    return cancelled;
  }

  // Windows says so with a time-out error. Wine's wininet ends a wait for an answer that never
  // comes with "connection aborted", which a server closing the connection also gives: that
  // counts as a time-out only once the time-out has passed.
  bool TimedOutSince(std::uint32_t started) {
    std::uint32_t error = wininet.GetLastError();
    if (Cancelled()) return true;  // given up while still waiting for the answer
    if (error == os::kErrorInternetTimeout) return true;
    return error == os::kErrorInternetConnectionAborted && kernel32.GetTickCount() - started >= kTimeoutMs - 500;
  }

  // The time-outs go on the request itself too: not every wininet hands a session's on to the
  // requests made in it.
  void SetTimeouts(os::Handle internet) {
    for (std::uint32_t option : {os::kInternetOptionConnectTimeout, os::kInternetOptionSendTimeout,
                                 os::kInternetOptionReceiveTimeout})
      wininet.InternetSetOptionA(internet, option, kTimeoutMs);
  }

  void Run(const std::string& url) {
    try {
      body = Fetch(url);
    } catch (const std::exception&) {
      body.clear();
    }
    CloseAll();
  }

  std::string Fetch(const std::string& url) {
    os::Handle session = wininet.InternetOpenA("Quenlar/" + session::VersionText(), os::kInternetOpenTypePreconfig);
    if (!session || !Keep(session)) return {};
    SetTimeouts(session);
    // One attempt to connect, so that the connect time-out is the whole wait.
    wininet.InternetSetOptionA(session, os::kInternetOptionConnectRetries, 1);

    os::UrlComponents parts;
    if (!wininet.InternetCrackUrlA(url, parts)) return {};
    os::Handle connection = wininet.InternetConnectA(session, parts.lpszHostName, parts.nPort, os::kInternetServiceHttp);
    if (!connection || !Keep(connection)) return {};
    // Always from the site, never an old copy from the cache.
    std::uint32_t flags = os::kInternetFlagReload | os::kInternetFlagNoCacheWrite | os::kInternetFlagPragmaNoCache |
                          os::kInternetFlagNoUi;
    if (parts.nScheme == os::kInternetSchemeHttps) flags |= os::kInternetFlagSecure;
    os::Handle request = wininet.HttpOpenRequestA(connection, "GET", parts.lpszUrlPath, flags);
    if (!request || !Keep(request)) return {};
    SetTimeouts(request);
    const std::uint32_t started = kernel32.GetTickCount();
    if (!wininet.HttpSendRequestA(request)) {
      timedOut = TimedOutSince(started);
      return {};
    }
    std::uint32_t status = 0;
    if (!wininet.HttpQueryInfoA(request, os::kHttpQueryStatusCode | os::kHttpQueryFlagNumber, status) ||
        status != 200)
      return {};

    std::string result, chunk;
    while (result.size() < kMaxBody) {
      const std::uint32_t waited = kernel32.GetTickCount();
      if (!wininet.InternetReadFile(request, chunk, 4096)) {
        timedOut = TimedOutSince(waited);
        return {};
      }
      if (chunk.empty()) break;
      result += chunk;
    }
    if (result.size() > kMaxBody) result.resize(kMaxBody);
    return result;
  }
};

// The thread is given a moment to notice the cancel, so that it is not left running in a
// program whose services are going.
Inet::~Inet() {
  try {
    Cancel();
    if (thread_) {
      kernel32_.WaitForSingleObject(thread_, 2000);
      kernel32_.CloseHandle(thread_);
    }
  } catch (const std::exception&) {
    // Nothing to let go of when wininet cannot be reached.
  }
}

void Inet::OpenURL(const std::string& url) {
  Cancel();  // a transfer still open
  if (thread_) kernel32_.CloseHandle(thread_);
  thread_ = 0;
  auto transfer = std::make_shared<Transfer>(wininet_, kernel32_);
  transfer_ = transfer;
  thread_ = kernel32_.CreateThread([transfer, url] { transfer->Run(url); });
  if (!thread_) {
    transfer_.reset();
    throw base::RuntimeError(base::kCannotCreateObject, "Cannot start the transfer");
  }
}

bool Inet::StillExecuting() {
  return thread_ && kernel32_.WaitForSingleObject(thread_, 0) == os::kWaitTimeout;
}

std::string Inet::Result() const { return transfer_ ? transfer_->body : std::string(); }

bool Inet::TimedOut() const { return transfer_ && transfer_->timedOut; }

void Inet::Cancel() {
  if (!transfer_) return;
  {
    std::lock_guard held(transfer_->lock);
    transfer_->cancelled = true;
  }
  transfer_->CloseAll();
}

}  // namespace update
