// What the main window's design and its code share: placeholder texts, captions, the panels'
// places, the countdown box's colours and tips.
#pragma once

#include "ui/Types.h"

namespace app::design {

constexpr const char* kSelectFile = "Select File...";
constexpr const char* kTypeMessage = "Type your Message text here";
constexpr const char* kActivateCaption = "&Activate";
constexpr const char* kDeactivateCaption = "De&activate";

const ui::Font kClockFont{"Arial", 14.25, true};
// A condition too wide for the target panel in the clock's font, and the room it leaves at the
// sides (fonts of the same name differ a little between systems).
const ui::Font kSmallTargetFont{"Arial", 9.75, true};
constexpr int kTargetSpare = 60;

constexpr int kPanelInView = 200;
constexpr int kPanelAtStart = 1380;
constexpr int kPanelOutOfView = 2000;
constexpr ui::Color kNoCountdownColor = ui::Rgb(255, 128, 128);
constexpr const char* kCountdownTip = "Countdown time in seconds, before taking action";
constexpr const char* kNoCountdownTip =
    "NO COUNTDOWN WILL BE DISPLAYED, AND THE SELECTED ACTION WILL BE PERFORMED INSTANTLY";

}  // namespace app::design
