// shell32: the notification-area icon, and starting a file or a web page through the shell.
#pragma once

#include <cstdint>
#include <string>

#include "os/Types.h"

namespace os {

// The notification-area record, its texts in UTF-8, its sizes those of the single-byte form.
// Its first form (cbSize 88) holds the icon and a 64-character tip; the second (cbSize 488,
// shell 5 and later) a 128-character tip and the balloon after it, which only a call with that
// size and kNifInfo among its flags shows. The backend gives Windows the same form of the record
// it takes (the wide one on the NT family).
struct NotifyIconData {
  std::uint32_t cbSize = 0;
  HWnd hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  Handle hIcon = 0;
  std::string szTip;  // at most 64 characters, 128 in the second form
  std::string szInfo;             // the balloon's text, at most 255 characters
  std::uint32_t uTimeout = 0;     // how long it may stay, in milliseconds
  std::string szInfoTitle;        // its title, at most 63 characters
  std::uint32_t dwInfoFlags = 0;  // its picture (kNiifInfo)
  bool operator==(const NotifyIconData&) const = default;
};
constexpr std::uint32_t kNimAdd = 0;
constexpr std::uint32_t kNimModify = 1;
constexpr std::uint32_t kNimDelete = 2;
constexpr std::uint32_t kNotifyIconDataV1Size = 88;
constexpr std::uint32_t kNotifyIconDataV2Size = 488;
constexpr std::uint32_t kNifInfo = 0x10;
constexpr std::uint32_t kNiifInfo = 1;
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
