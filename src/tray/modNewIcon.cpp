#include "tray/modNewIcon.h"

namespace tray {

std::string PadTip(const std::string& tip) {
  std::string padded = tip.substr(0, kTipLength);
  padded.resize(kTipLength, ' ');
  return padded;
}

void AddIcon(os::Shell32& shell32, os::NotifyIconData& record, os::HWnd window, os::Handle icon,
             const std::string& tip) {
  record.cbSize = kRecordSize;
  record.hIcon = icon;
  record.szTip = PadTip(tip);
  record.hWnd = window;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.uFlags = kTrayFlags;
  record.uID = kTrayId;
  shell32.Shell_NotifyIconA(os::kNimAdd, record);
}

void DeleteIcon(os::Shell32& shell32, const os::NotifyIconData& record) {
  shell32.Shell_NotifyIconA(os::kNimDelete, record);
}

}  // namespace tray
