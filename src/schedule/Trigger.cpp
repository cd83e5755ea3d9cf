#include "schedule/Trigger.h"

namespace schedule {

std::string Describe(const Trigger& t, const std::string& between) {
  const std::string during = between + "for " + std::to_string(t.minutes) + " min";
  switch (t.kind) {
    case Trigger::Kind::Moment:
      return "";
    case Trigger::Kind::ProgramEnds:
      return (t.program.empty() ? "process " + std::to_string(t.processId) : t.program) + between + "ends";
    case Trigger::Kind::NoInput:
      return std::to_string(t.minutes) + " min" + between + "without input";
    case Trigger::Kind::ProcessorBelow:
      return "CPU < " + std::to_string(t.below) + " %" + during;
    case Trigger::Kind::NetworkBelow:
      return "Net < " + std::to_string(t.below) + " KB/s" + during;
  }
  return "";
}

std::string ProgramFileName(std::string text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '"'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  text.erase(0, start);
  if (std::size_t folder = text.find_last_of("\\/:"); folder != std::string::npos) text.erase(0, folder + 1);
  if (!text.empty() && text.find('.') == std::string::npos) text += ".exe";
  return text;
}

std::optional<std::uint32_t> ProcessId(const std::string& text) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const unsigned long long id = std::stoull(text);
  if (id == 0 || id > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(id);
}

base::LocalTime MomentIn(base::LocalTime now, long long amount, Unit unit) {
  return now + std::chrono::seconds(SecondsPer(unit) * amount);
}

base::LocalTime MomentAt(base::LocalTime now, base::LocalTime timeOfDay) {
  base::LocalTime target = base::DateOf(now) + base::TimeOfDay(timeOfDay);
  if (target < now) target += std::chrono::days(1);
  return target;
}

}  // namespace schedule
