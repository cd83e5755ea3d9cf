#include "tray/modNewIcon.h"

#include "base/Utf8.h"

namespace tray {

std::string PadTip(const std::string& tip) {
  std::string padded = base::Head(tip, kTipLength);
  padded.resize(kTipLength, ' ');
  return padded;
}

namespace {

// Fills the record as an add does; the first add makes it the icon shown.
void Fill(Record& record, os::HWnd window, os::Handle icon, const std::string& tip) {
  record.cbSize = kRecordSize;
  record.hIcon = icon;
  record.szTip = PadTip(tip);
  record.hWnd = window;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.uFlags = kTrayFlags;
  record.uID = kTrayId;
  if (!record.shown) record.shown = static_cast<const os::NotifyIconData&>(record);
}

}  // namespace

void AddIcon(os::Shell32& shell32, Record& record, os::HWnd window, os::Handle icon, const std::string& tip) {
  // The icon is meant to be there from now on, even where the shell is not up to take it: it
  // comes when the shell does. One already there keeps its picture and tip, and now stays
  // when a balloon over it goes.
  Fill(record, window, icon, tip);
  record.forBalloon = false;
  shell32.Shell_NotifyIconA(os::kNimAdd, record);
}

void ShowIcon(os::Shell32& shell32, Record& record, os::HWnd window, os::Handle icon, const std::string& tip) {
  if (!record.shown) {
    AddIcon(shell32, record, window, icon, tip);
    return;
  }
  record.hIcon = icon;
  record.szTip = PadTip(tip);
  record.shown = static_cast<const os::NotifyIconData&>(record);
  shell32.Shell_NotifyIconA(os::kNimModify, record);
}

void DeleteIcon(os::Shell32& shell32, Record& record) {
  record.shown.reset();
  record.forBalloon = false;
  shell32.Shell_NotifyIconA(os::kNimDelete, record);
}

void AddAgain(os::Shell32& shell32, Record& record) {
  if (record.forBalloon) {
    record.shown.reset();
    record.forBalloon = false;
  }
  if (record.shown) shell32.Shell_NotifyIconA(os::kNimAdd, *record.shown);
}

void ShowBalloon(os::Shell32& shell32, Record& record, os::HWnd window, os::Handle icon, const std::string& tip,
                 const std::string& title, const std::string& text) {
  // An icon already there takes the balloon alone (only its flag); one added for it comes with
  // its picture, tip and callback in the same add.
  std::uint32_t message = os::kNimModify;
  std::uint32_t flags = os::kNifInfo;
  if (!record.shown) {
    Fill(record, window, icon, tip);
    record.forBalloon = true;
    message = os::kNimAdd;
    flags |= kTrayFlags;
  }
  os::NotifyIconData balloon = *record.shown;
  balloon.cbSize = os::kNotifyIconDataV2Size;
  balloon.uFlags = flags;
  balloon.szInfo = base::Head(text, kBalloonTextLength);
  balloon.uTimeout = kBalloonTimeout;
  balloon.szInfoTitle = base::Head(title, kBalloonTitleLength);
  balloon.dwInfoFlags = os::kNiifInfo;
  shell32.Shell_NotifyIconA(message, balloon);
}

void BalloonGone(os::Shell32& shell32, Record& record) {
  if (record.forBalloon) DeleteIcon(shell32, record);
}

}  // namespace tray
