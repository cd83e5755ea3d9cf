// The real wininet, looked up at run time: Windows 95 without Internet Explorer has no such
// library, and the program still has to start there.
#pragma once

#include "os/Wininet.h"

namespace os::win32 {

class Wininet : public os::Wininet {
 public:
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
  // The last error of this thread's last failed call: the transfer runs on a thread of its own
  // while the window's thread may close its handles.
  std::uint32_t GetLastError() override;

 private:
  // Keeps the thread's last error when a call has failed.
  template <typename Result>
  Result Checked(Result result);
};

}  // namespace os::win32
