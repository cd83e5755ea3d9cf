// The fake shell32: the notification area, holding the icons added and not yet deleted.
#pragma once

#include <map>
#include <utility>

#include "os/Shell32.h"
#include "os/fake/Library.h"

namespace os::fake {

namespace shell32 {
using fake::operator<<;

struct Shell_NotifyIconA {
  static constexpr std::string_view kName = "Shell_NotifyIconA";
  std::uint32_t message;
  NotifyIconData data;
  bool operator==(const Shell_NotifyIconA&) const = default;
};

struct ShellExecuteA {
  static constexpr std::string_view kName = "ShellExecuteA";
  HWnd window;
  std::string verb;
  std::string file;
  std::string parameters;
  std::string directory;
  std::int32_t showCommand;
  bool operator==(const ShellExecuteA&) const = default;
};

}  // namespace shell32

class Shell32 : public os::Shell32, public Library {
 public:
  explicit Shell32(CallLog& log) : Library(log) {}

  // The icons shown, by window and id.
  std::map<std::pair<HWnd, std::uint32_t>, NotifyIconData> trayIcons;

  // What ShellExecuteA answers (42: started), unless the verb is listed here.
  std::intptr_t shellExecuteResult = 42;
  std::map<std::string, std::intptr_t> shellExecuteResultByVerb;

  // Adding an icon already shown, or changing or deleting one not shown, fails. A change takes
  // the parts its flags name; a balloon stays in the icon's record until the next one.
  std::int32_t Shell_NotifyIconA(std::uint32_t message, const NotifyIconData& data) override;
  std::intptr_t ShellExecuteA(HWnd window, const std::string& verb, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              std::int32_t showCommand) override;
};

}  // namespace os::fake
