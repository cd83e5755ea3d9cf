// shell32: the notification-area icon, and starting a file or a web page through the shell.
#pragma once

#include <cstdint>
#include <string>

#include "os/Types.h"

namespace os {

// The notification-area record in its single-byte form: 88 bytes, a 64-character tip.
struct NotifyIconData {
  std::uint32_t cbSize = 0;
  HWnd hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  Handle hIcon = 0;
  std::string szTip;  // at most 64 characters
  bool operator==(const NotifyIconData&) const = default;
};
constexpr std::uint32_t kNimAdd = 0;
constexpr std::uint32_t kNimModify = 1;
constexpr std::uint32_t kNimDelete = 2;
constexpr std::intptr_t kSeErrNoAssoc = 31;  // ShellExecuteA: the file's type has no such verb
constexpr std::int32_t kSwHide = 0;
constexpr std::int32_t kSwShowMaximized = 3;

class Shell32 {
 public:
  virtual ~Shell32() = default;
  virtual std::int32_t Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) = 0;
  // Opens a file, a program or a web address with the verb ("Open"; empty: the file type's
  // default verb); empty parameters and folder stand for none. Above 32 means started.
  virtual std::intptr_t ShellExecuteA(HWnd window, const std::string& verb, const std::string& file,
                                      const std::string& parameters, const std::string& directory,
                                      std::int32_t showCommand) = 0;
};

}  // namespace os
