// A text box that takes a whole number, with the rules the program's number boxes share. Only
// digits can be typed (and the clipboard's keys); leading zeros go as the user types ("007" is
// 7) and the value keeps to its highest, the caret staying at the end. The least value applies
// only once the value is taken (Enter, the box left, or whenever the window takes it itself),
// so that a first digit can still be typed. A pasted text counts for the whole number it
// begins with: "2.5" is 2, "-5" is below every least. Entering the box selects its text.
#pragma once

#include <functional>
#include <optional>

#include "ui/Controls.h"

namespace ui {

struct NumberRules {
  long long highest = 0;                // the box also holds as many characters as this has digits
  std::function<long long()> least;     // asked each time the value is taken; none: no least
  std::function<void()> changed;        // after the box's own rules, on each Change
};

// Binds the box's KeyPress, Change, GotFocus and LostFocus, and sets its MaxLength.
void BindNumberBox(TextBox& box, NumberRules rules);

// The whole number the box's text begins with (0 for an empty text).
long long NumberIn(const TextBox& box);

// A value below `least` becomes `least`.
void TakeNumber(TextBox& box, long long least);

void SelectAll(TextBox& box);

}  // namespace ui
