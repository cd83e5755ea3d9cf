#include "ui/NumberBox.h"

#include <algorithm>
#include <limits>
#include <string>

#include "base/Convert.h"

namespace ui {

void BindNumberBox(TextBox& box, NumberRules rules) {
  box.SetMaxLength(static_cast<int>(std::to_string(rules.highest).size()));
  auto take = [&box, least = rules.least] {
    if (least) TakeNumber(box, least());
  };
  box.KeyPress = [take](int& keyAscii) {
    if (keyAscii == vbKeyReturn) take();
    KeepDigits(keyAscii);
  };
  box.Change = [&box, highest = rules.highest, changed = rules.changed] {
    if (!box.Text().empty()) box.Rewrite(std::to_string(std::min(NumberIn(box), highest)));
    if (changed) changed();
  };
  box.LostFocus = take;
  box.GotFocus = [&box] { SelectAll(box); };
}

long long NumberIn(const TextBox& box) {
  // A text of many digits may lie beyond what a long long holds.
  constexpr double kBeyond = 9e18;
  const double value = base::WholeVal(box.Text());
  if (value >= kBeyond) return std::numeric_limits<long long>::max();
  if (value <= -kBeyond) return std::numeric_limits<long long>::min();
  return static_cast<long long>(value);
}

void TakeNumber(TextBox& box, long long least) {
  if (NumberIn(box) < least) box.Rewrite(std::to_string(least));
}

void SelectAll(TextBox& box) {
  box.SetSelStart(0);
  box.SetSelLength(static_cast<int>(box.Text().size()));
}

}  // namespace ui
