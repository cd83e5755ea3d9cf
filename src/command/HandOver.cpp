#include "command/HandOver.h"

namespace command {

std::string Encode(const std::vector<std::string>& args) {
  std::string data;
  for (const std::string& arg : args) {
    data += arg;
    data += '\0';
  }
  return data;
}

std::optional<std::vector<std::string>> Decode(std::uintptr_t kind, const std::string& data) {
  if (kind != kCopyDataKind || data.size() > kLongestPayload || (!data.empty() && data.back() != '\0'))
    return std::nullopt;
  std::vector<std::string> args;
  for (std::size_t start = 0; start < data.size();) {
    std::size_t end = data.find('\0', start);
    args.push_back(data.substr(start, end - start));
    start = end + 1;
  }
  return args;
}

void Tell(const os::Services& os, const std::string& text, bool error) {
  if (text.empty() || os.kernel32.WriteStandardOutput(text + (text.back() == '\n' ? "" : "\n"))) return;
  constexpr std::uint32_t kOkInformation = 0x40, kOkExclamation = 0x30;
  os.user32.MessageBoxA(text, "Quenlar", error ? kOkExclamation : kOkInformation);
}

int HandOver(const os::Services& os, const std::vector<std::string>& args) {
  os::HWnd window = 0;
  for (std::uint32_t waited = 0;; waited += 100) {
    window = os.user32.FindWindowA(kMainWindowClass);
    if (window || waited >= kFindTimeoutMs) break;
    os.user32.MsgWaitForMultipleObjects({}, false, 100, 0);  // a copy still making its window
  }
  if (!window) {
    Tell(os, "Quenlar is not running.", true);
    return kNotRunning;
  }
  os.user32.AllowSetForegroundWindow(os::kAsfwAny);  // for /show
  std::intptr_t answer = 0;
  std::string reply;
  if (!os.user32.SendMessageTimeoutA(window, kCopyDataKind, Encode(args), kAnswerTimeoutMs, answer, reply)) {
    Tell(os, "Quenlar did not answer.", true);
    return kNoAnswer;
  }
  Tell(os, reply, answer != kDone);
  return static_cast<int>(answer);
}

}  // namespace command
