#include "schedule/Watch.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "base/Convert.h"

namespace schedule {
namespace {

constexpr std::uint32_t kSampleMs = 1000;
// The interfaces' table costs the program about half a millisecond of processor time a read
// under Wine (several requests to its server): read each second it would cost more than all the
// rest of the waiting. A rate is an average over the sample anyway.
constexpr std::uint32_t kNetworkSampleMs = 5000;
constexpr std::uint32_t kMinuteMs = 60000;

// A moment fires at the first look at which the present second is not before it: a clock put
// forward past it fires at once, one put back waits for it.
class MomentWatch : public Watch {
 public:
  MomentWatch(base::LocalTime moment, os::Kernel32& kernel32) : moment_(moment), kernel32_(kernel32) {}
  bool Fired() override { return !(moment_ > kernel32_.GetLocalTime()); }

 private:
  base::LocalTime moment_;
  os::Kernel32& kernel32_;
};

// A condition looks at most once a second (the network once in five), by the tick count
// (unsigned differences: the count wraps after 49.7 days). Once fired it stays fired.
class ConditionWatch : public Watch {
 public:
  bool Fired() override {
    if (fired_) return true;
    const std::uint32_t now = kernel32_.GetTickCount();
    if (static_cast<std::uint32_t>(now - lastLook_) < sampleMs_) return false;
    lastLook_ = now;
    fired_ = Look(now);
    return fired_;
  }

 protected:
  explicit ConditionWatch(os::Kernel32& kernel32, std::uint32_t sampleMs = kSampleMs)
      : kernel32_(kernel32), sampleMs_(sampleMs), lastLook_(kernel32.GetTickCount()) {}
  // One look, a sample's time or more after the last: true when the condition is met.
  virtual bool Look(std::uint32_t now) = 0;
  std::uint32_t ArmedAt() const { return armedAt_; }

  os::Kernel32& kernel32_;

 private:
  std::uint32_t sampleMs_;
  std::uint32_t lastLook_;
  std::uint32_t armedAt_ = lastLook_;
  bool fired_ = false;
};

// "for 3 of 5 min": whole minutes reached of those asked for.
std::string MinutesOf(std::uint32_t ms, int minutes) {
  const std::uint32_t reached = std::min<std::uint32_t>(ms / kMinuteMs, static_cast<std::uint32_t>(minutes));
  return "for " + std::to_string(reached) + " of " + std::to_string(minutes) + " min";
}

// A program ends: the processes that ran when it was armed are waited for by their handles
// (held, so their ids cannot be given to another process meanwhile); one that may not be
// opened is looked for in the process list instead. Fires when none is left.
class ProgramWatch : public ConditionWatch {
 public:
  ProgramWatch(const Trigger& trigger, os::Kernel32& kernel32) : ConditionWatch(kernel32), trigger_(trigger) {}
  ~ProgramWatch() override {
    for (os::Handle process : handles_) kernel32_.CloseHandle(process);
  }

  // Finds the processes to wait for; false when none runs.
  bool Find(const std::vector<os::ProcessEntry>& running) {
    for (const os::ProcessEntry& entry : running) {
      if (!Matches(entry)) continue;
      if (os::Handle process = kernel32_.OpenProcess(os::kSynchronize, false, entry.processId))
        handles_.push_back(process);
      else
        listed_.insert(entry.processId);
    }
    return Left() > 0;
  }

  std::string Progress() const override {
    const std::string name = trigger_.program.empty() ? "process " + std::to_string(trigger_.processId) : trigger_.program;
    const std::size_t left = Left();
    return name + " still running" + (left > 1 ? " (" + std::to_string(left) + " processes)" : "");
  }

 private:
  bool Matches(const os::ProcessEntry& entry) const {
    return trigger_.program.empty() ? entry.processId == trigger_.processId
                                    : base::Lower(entry.exeFile) == base::Lower(trigger_.program);
  }
  std::size_t Left() const { return handles_.size() + listed_.size(); }

  bool Look(std::uint32_t) override {
    std::erase_if(handles_, [this](os::Handle process) {
      if (kernel32_.WaitForSingleObject(process, 0) != os::kWaitObject0) return false;
      kernel32_.CloseHandle(process);
      return true;
    });
    std::vector<os::ProcessEntry> running;
    if (!listed_.empty() && kernel32_.ListProcesses(running)) {
      std::erase_if(listed_, [&](std::uint32_t id) {
        return std::none_of(running.begin(), running.end(),
                            [&](const os::ProcessEntry& entry) { return entry.processId == id && Matches(entry); });
      });
    }
    return Left() == 0;
  }

  Trigger trigger_;
  std::vector<os::Handle> handles_;
  std::set<std::uint32_t> listed_;
};

// No keyboard or mouse input for so many minutes, counted from the later of arming and the last
// input.
class IdleWatch : public ConditionWatch {
 public:
  IdleWatch(int minutes, os::Kernel32& kernel32, os::User32& user32)
      : ConditionWatch(kernel32), need_(static_cast<std::uint32_t>(minutes) * kMinuteMs), minutes_(minutes),
        user32_(user32) {}

  std::string Progress() const override { return "No input " + MinutesOf(idle_, minutes_); }

 private:
  bool Look(std::uint32_t now) override {
    std::uint32_t lastInput = 0;
    if (!user32_.GetLastInputInfo(lastInput)) return false;
    const std::uint32_t sinceArming = now - ArmedAt();
    // Once armed long enough only the input counts: a schedule armed for longer than the tick
    // count's round (49.7 days) must not start again.
    if (sinceArming >= need_) armedLongEnough_ = true;
    const std::uint32_t sinceInput = now - lastInput;
    idle_ = armedLongEnough_ ? sinceInput : std::min(sinceInput, sinceArming);
    return idle_ >= need_;
  }

  std::uint32_t need_;
  int minutes_;
  os::User32& user32_;
  std::uint32_t idle_ = 0;
  bool armedLongEnough_ = false;
};

// A measure that must stay below a threshold for so many minutes without a break: every sample
// at or above it starts the minutes afresh.
class QuietWatch : public ConditionWatch {
 public:
  std::string Progress() const override { return what_ + " below " + threshold_ + " " + MinutesOf(quiet_, minutes_); }

 protected:
  QuietWatch(os::Kernel32& kernel32, int minutes, std::string what, std::string threshold,
             std::uint32_t sampleMs = kSampleMs)
      : ConditionWatch(kernel32, sampleMs), need_(static_cast<std::uint32_t>(minutes) * kMinuteMs), minutes_(minutes),
        what_(std::move(what)), threshold_(std::move(threshold)), quietSince_(ArmedAt()) {}
  // Takes a sample; whether it is busy (at or above the threshold). Nothing when no sample
  // could be taken, which neither breaks the run nor counts.
  virtual std::optional<bool> Busy(std::uint32_t now) = 0;

 private:
  bool Look(std::uint32_t now) override {
    if (std::optional<bool> busy = Busy(now); busy && *busy) quietSince_ = now;
    quiet_ = now - quietSince_;
    return quiet_ >= need_;
  }

  std::uint32_t need_;
  int minutes_;
  std::string what_, threshold_;
  std::uint32_t quietSince_;
  std::uint32_t quiet_ = 0;
};

// Processor use: busy = 1 - idle / (kernel + user) over the second between two samples, the
// kernel time including the idle time.
class ProcessorWatch : public QuietWatch {
 public:
  ProcessorWatch(const Trigger& t, os::Kernel32& kernel32)
      : QuietWatch(kernel32, t.minutes, "CPU", std::to_string(t.below) + " %"), percent_(t.below) {
    have_ = kernel32_.GetSystemTimes(idle_, kernel_, user_) != 0;
  }

 private:
  std::optional<bool> Busy(std::uint32_t) override {
    std::uint64_t idle = 0, kernel = 0, user = 0;
    if (!kernel32_.GetSystemTimes(idle, kernel, user)) return std::nullopt;
    const std::uint64_t spentIdle = idle - idle_, total = (kernel - kernel_) + (user - user_);
    const bool had = have_;
    have_ = true, idle_ = idle, kernel_ = kernel, user_ = user;
    if (!had || total == 0) return std::nullopt;
    const std::uint64_t busy = total - std::min(spentIdle, total);
    return busy * 100 >= static_cast<std::uint64_t>(percent_) * total;
  }

  long long percent_;
  bool have_ = false;
  std::uint64_t idle_ = 0, kernel_ = 0, user_ = 0;
};

// Network traffic, received and sent together, over the interfaces that are up, loopback left
// out, as a rate over the five seconds between samples; an interface counts from its second
// sample on. The older table's 32-bit counters wrap
// at 4 GiB: their differences are taken in 32 bits.
class NetworkWatch : public QuietWatch {
 public:
  NetworkWatch(const Trigger& t, const os::Services& os, bool wide)
      : QuietWatch(os.kernel32, t.minutes, "Net", std::to_string(t.below) + " KB/s", kNetworkSampleMs),
        iphlpapi_(os.iphlpapi),
        rate_(t.below), wide_(wide), lastSample_(ArmedAt()) {
    Count();
  }

 private:
  // The octets moved since the last sample; nothing when the table could not be read.
  std::optional<std::uint64_t> Count() {
    std::vector<os::InterfaceRow> rows;
    if ((wide_ ? iphlpapi_.GetIfTable2(rows) : iphlpapi_.GetIfTable(rows)) != 0) return std::nullopt;
    std::map<std::uint32_t, std::uint64_t> counters;
    std::uint64_t moved = 0;
    for (const os::InterfaceRow& row : rows) {
      if (!row.up || row.type == os::kIfTypeSoftwareLoopback) continue;
      const std::uint64_t octets = wide_ ? row.received + row.sent
                                         : static_cast<std::uint32_t>(row.received + row.sent);
      counters[row.index] = octets;
      if (auto before = counters_.find(row.index); before != counters_.end())
        moved += wide_ ? octets - before->second : static_cast<std::uint32_t>(octets - before->second);
    }
    counters_ = std::move(counters);
    return moved;
  }

  std::optional<bool> Busy(std::uint32_t now) override {
    std::optional<std::uint64_t> moved = Count();
    const std::uint32_t elapsed = now - lastSample_;
    lastSample_ = now;
    if (!moved) return std::nullopt;
    // Bytes per second at or above the threshold's KB (1024 bytes) per second.
    return *moved * 1000 >= static_cast<std::uint64_t>(rate_) * 1024 * elapsed;
  }

  os::Iphlpapi& iphlpapi_;
  long long rate_;
  bool wide_;
  std::uint32_t lastSample_;
  std::map<std::uint32_t, std::uint64_t> counters_;
};

bool Has(const os::Services& os, const char* library, const char* function) {
  return os.kernel32.GetProcAddress(library, function) != 0;
}

}  // namespace

std::string WhyNotWatched(Trigger::Kind kind, const os::Services& os) {
  switch (kind) {
    case Trigger::Kind::Moment:
      return "";
    case Trigger::Kind::ProgramEnds:
      return Has(os, "kernel32.dll", "CreateToolhelp32Snapshot") ? "" : "This Windows cannot list the running programs.";
    case Trigger::Kind::NoInput:
      return Has(os, "user32.dll", "GetLastInputInfo") ? "" : "This Windows does not tell when the last input was.";
    case Trigger::Kind::ProcessorBelow:
      return Has(os, "kernel32.dll", "GetSystemTimes") ? "" : "This Windows does not tell how busy the processor is.";
    case Trigger::Kind::NetworkBelow:
      return Has(os, "iphlpapi.dll", "GetIfTable2") || Has(os, "iphlpapi.dll", "GetIfTable")
                 ? ""
                 : "This Windows does not tell the network's traffic.";
  }
  return "";
}

std::unique_ptr<Watch> Arm(const Trigger& trigger, const os::Services& os, std::string& refusal) {
  if (trigger.kind == Trigger::Kind::Moment) return std::make_unique<MomentWatch>(trigger.moment, os.kernel32);
  refusal = WhyNotWatched(trigger.kind, os);
  if (!refusal.empty()) return nullptr;
  switch (trigger.kind) {
    case Trigger::Kind::ProgramEnds: {
      std::vector<os::ProcessEntry> running;
      if (!os.kernel32.ListProcesses(running)) {
        refusal = "The running programs could not be listed.";
        return nullptr;
      }
      auto watch = std::make_unique<ProgramWatch>(trigger, os.kernel32);
      if (watch->Find(running)) return watch;
      refusal = trigger.program.empty() ? "No program with the process id " + std::to_string(trigger.processId) + " is running."
                                        : "No program named " + trigger.program + " is running.";
      return nullptr;
    }
    case Trigger::Kind::NoInput:
      return std::make_unique<IdleWatch>(trigger.minutes, os.kernel32, os.user32);
    case Trigger::Kind::ProcessorBelow:
      return std::make_unique<ProcessorWatch>(trigger, os.kernel32);
    case Trigger::Kind::NetworkBelow:
      return std::make_unique<NetworkWatch>(trigger, os, Has(os, "iphlpapi.dll", "GetIfTable2"));
    case Trigger::Kind::Moment:
      break;
  }
  return nullptr;
}

}  // namespace schedule
