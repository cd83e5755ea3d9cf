// A web server on this machine's loopback for the update check's tests: every request gets the
// answer set last, or none at all. It runs on a thread of its own while a test lasts.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace win32_testing {

class LocalSite {
 public:
  // Listens on 127.0.0.1 at `port` (0: any free port). A port another program holds is waited
  // for, up to 30 s: two test runs on one machine take turns.
  explicit LocalSite(unsigned short port = 0) {
    InitializeCriticalSection(&lock_);
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    for (int attempt = 0; attempt < 300 && listener_ == INVALID_SOCKET; ++attempt) {
      listener_ = Listen(port);
      if (listener_ == INVALID_SOCKET) Sleep(100);
    }
    if (listener_ == INVALID_SOCKET) return;
    sockaddr_in address{};
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = CreateThread(nullptr, 0, &LocalSite::Run, this, 0, nullptr);
  }
  ~LocalSite() {
    stop_ = true;
    if (thread_) {
      WaitForSingleObject(thread_, 5000);
      CloseHandle(thread_);
    }
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
    DeleteCriticalSection(&lock_);
  }
  LocalSite(const LocalSite&) = delete;
  LocalSite& operator=(const LocalSite&) = delete;

  bool Listening() const { return thread_ != nullptr; }
  unsigned short Port() const { return port_; }
  std::string Address() const { return "http://127.0.0.1:" + std::to_string(port_); }
  int Requests() const { return requests_; }

  // Every request from now on gets this status and body.
  void Serve(int status, const std::string& body) {
    std::string reason = status == 200 ? "OK" : status == 404 ? "Not Found" : "Error";
    std::string answer = "HTTP/1.0 " + std::to_string(status) + " " + reason +
                         "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
                         "\r\nConnection: close\r\n\r\n" + body;
    SetAnswer(answer, false);
  }
  // Requests are taken in and never answered.
  void Silent() { SetAnswer("", true); }
  // Requests are taken in and the connection is closed with no answer.
  void Drop() { SetAnswer("", false); }
  // Runs on the server's thread as each request comes in, before it is answered; set it before
  // the first request.
  std::function<void()> OnRequest;

 private:
  static SOCKET Listen(unsigned short port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    BOOL exclusive = TRUE;
    setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 8) != 0) {
      closesocket(s);
      return INVALID_SOCKET;
    }
    return s;
  }
  void SetAnswer(const std::string& answer, bool silent) {
    EnterCriticalSection(&lock_);
    answer_ = answer;
    silent_ = silent;
    LeaveCriticalSection(&lock_);
  }
  static DWORD WINAPI Run(void* self) {
    static_cast<LocalSite*>(self)->Loop();
    return 0;
  }
  void Loop() {
    std::vector<SOCKET> held;  // connections of silent answers, kept open until the end
    while (!stop_) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(listener_, &ready);
      timeval wait{0, 50000};
      if (select(0, &ready, nullptr, nullptr, &wait) != 1) continue;
      SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      ++requests_;
      ReadRequest(client);
      if (OnRequest) OnRequest();
      EnterCriticalSection(&lock_);
      std::string answer = answer_;
      bool silent = silent_;
      LeaveCriticalSection(&lock_);
      if (silent) {
        held.push_back(client);
        continue;
      }
      if (!answer.empty()) send(client, answer.data(), static_cast<int>(answer.size()), 0);
      shutdown(client, SD_SEND);
      closesocket(client);
    }
    for (SOCKET s : held) closesocket(s);
  }
  // Reads up to the blank line that ends the request's headers.
  static void ReadRequest(SOCKET client) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(client, &ready);
      timeval wait{2, 0};
      if (select(0, &ready, nullptr, nullptr, &wait) != 1) return;
      int n = recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) return;
      request.append(buffer, static_cast<std::size_t>(n));
    }
  }

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  CRITICAL_SECTION lock_;  // over the answer, which the test sets while the thread serves
  std::string answer_;
  bool silent_ = false;
};

}  // namespace win32_testing
