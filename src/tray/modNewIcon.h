// The notification-area icon: the one record shared by the program's windows, and its add,
// delete and add-again operations.
#pragma once

#include <optional>
#include <string>

#include "os/Shell32.h"

namespace tray {

constexpr std::uint32_t kTrayId = 1;
constexpr std::uint32_t kTrayFlags = 7;              // message, icon and tip
constexpr std::uint32_t kTrayCallbackMessage = 512;  // arrives as the window's own mouse move
constexpr std::uint32_t kRecordSize = os::kNotifyIconDataV1Size;
constexpr std::size_t kTipLength = 64;
constexpr std::size_t kBalloonTextLength = 255;
constexpr std::size_t kBalloonTitleLength = 63;
constexpr std::uint32_t kBalloonTimeout = 10000;  // ms; the shell keeps it within its own limits
// What Explorer sends every top-level window when it starts (again): its icons are gone.
constexpr const char* kTaskbarCreated = "TaskbarCreated";

// The record the windows share, as the last add left it (all zero before the first), and the
// icon as the program put it into the notification area, for as long as it should be there.
// An add refused because the icon is already there changes the record, not the icon.
// An icon added only so that a balloon has something to hang from is `forBalloon`: it goes when
// the balloon does, unless the window has gone to the tray meanwhile.
struct Record : os::NotifyIconData {
  std::optional<os::NotifyIconData> shown;
  bool forBalloon = false;
};

// The tip as the record holds it: left-aligned, filled with blanks to 64 characters, a longer
// text cut at 64.
std::string PadTip(const std::string& tip);

// Fills the record and adds the icon; the result is not looked at.
void AddIcon(os::Shell32& shell32, Record& record, os::HWnd window, os::Handle icon, const std::string& tip);
// Gives an icon that is shown a new picture and tip, so that it tells the present state; adds
// it when none is shown. The record is filled as for an add.
void ShowIcon(os::Shell32& shell32, Record& record, os::HWnd window, os::Handle icon, const std::string& tip);
// Removes the icon of the record as the last add left it; harmless when none is shown.
void DeleteIcon(os::Shell32& shell32, Record& record);
// Explorer has started again: an icon that was shown is added again, with the same picture
// and tip. Nothing happens while none is shown; an icon that was there only for a balloon,
// which went with Explorer, is not added again.
void AddAgain(os::Shell32& shell32, Record& record);

// Shows a balloon (title and text, cut at 63 and 255 characters) over the icon, in the record's
// second form. Where no icon is shown it is added for the balloon's time, with this picture and
// tip, in the same call.
void ShowBalloon(os::Shell32& shell32, Record& record, os::HWnd window, os::Handle icon, const std::string& tip,
                 const std::string& title, const std::string& text);
// The balloon has gone (closed, timed out or clicked): an icon added only for it is removed.
void BalloonGone(os::Shell32& shell32, Record& record);

}  // namespace tray
