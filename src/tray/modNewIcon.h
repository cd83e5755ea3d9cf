// The notification-area icon: the one record shared by the program's windows, and its add and
// delete operations.
#pragma once

#include <string>

#include "os/Shell32.h"

namespace tray {

constexpr std::uint32_t kTrayId = 1;
constexpr std::uint32_t kTrayFlags = 7;              // message, icon and tip
constexpr std::uint32_t kTrayCallbackMessage = 512;  // arrives as the window's own mouse move
constexpr std::uint32_t kRecordSize = 88;
constexpr std::size_t kTipLength = 64;

// The tip as the record holds it: left-aligned, filled with blanks to 64 characters, a longer
// text cut at 64.
std::string PadTip(const std::string& tip);

// Fills the record and adds the icon; the result is not looked at.
void AddIcon(os::Shell32& shell32, os::NotifyIconData& record, os::HWnd window, os::Handle icon,
             const std::string& tip);
// Removes the icon of the record as the last add left it; harmless when none is shown.
void DeleteIcon(os::Shell32& shell32, const os::NotifyIconData& record);

}  // namespace tray
