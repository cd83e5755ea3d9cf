#include "tray/modNewIcon.h"

namespace tray {

std::string PadTip(const std::string& tip) {
  std::string padded = tip.substr(0, kTipLength);
  padded.resize(kTipLength, ' ');
  return padded;
}

void AddIcon(os::Shell32& shell32, Record& record, os::HWnd window, os::Handle icon, const std::string& tip) {
  record.cbSize = kRecordSize;
  record.hIcon = icon;
  record.szTip = PadTip(tip);
  record.hWnd = window;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.uFlags = kTrayFlags;
  record.uID = kTrayId;
  // The icon is meant to be there from now on, even where the shell is not up to take it: it
  // comes when the shell does. One already there keeps its picture and tip.
  if (!record.shown) record.shown = static_cast<const os::NotifyIconData&>(record);
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
  shell32.Shell_NotifyIconA(os::kNimDelete, record);
}

void AddAgain(os::Shell32& shell32, const Record& record) {
  if (record.shown) shell32.Shell_NotifyIconA(os::kNimAdd, *record.shown);
}

}  // namespace tray
