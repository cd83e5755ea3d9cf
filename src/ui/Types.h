// Small value types shared by the control model and its backends.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace ui {

// 0x00BBGGRR like a Windows COLORREF; values with the high bit set name a system colour.
using Color = std::uint32_t;
constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr Color kSystemWindowBackground = 0x80000005;
constexpr Color kSystemWindowText = 0x80000008;
constexpr Color kSystemButtonFace = 0x8000000F;
constexpr Color kSystemButtonText = 0x80000012;

struct Font {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
  bool operator==(const Font&) const = default;
};

enum class Alignment { Left, Center, Right };

struct Size {
  int width = 0;   // twips
  int height = 0;  // twips
};

// A rectangle in a window's pixels.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

// A menu shortcut: Ctrl plus a letter, or a function key.
struct Shortcut {
  enum class Kind { None, Ctrl, Function };
  Kind kind = Kind::None;
  int key = 0;  // 'A'..'Z' for Ctrl, 1..12 for function keys

  static Shortcut Ctrl(char letter) { return {Kind::Ctrl, letter}; }
  static Shortcut F(int number) { return {Kind::Function, number}; }
  bool operator==(const Shortcut&) const = default;
  std::string Text() const {
    std::string text;
    if (kind == Kind::Ctrl) {
      text = "Ctrl+";
      text += static_cast<char>(key);
    } else if (kind == Kind::Function) {
      text = "F";
      text += std::to_string(key);
    }
    return text;
  }
};

// Message-box styles and answers, with their Windows values.
namespace mb {
constexpr int kOkOnly = 0;
constexpr int kYesNo = 4;
constexpr int kCritical = 16;
constexpr int kQuestion = 32;
constexpr int kExclamation = 48;
constexpr int kInformation = 64;
}  // namespace mb
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Why a form is asked to close.
enum UnloadMode : int { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2 };

// How a form is shown: modeless, or modal (the call returns when the form has gone).
enum FormShowMode : int { vbModeless = 0, vbModal = 1 };

// A form's frame, with the values forms have always used for it.
enum class BorderStyle : int { None = 0, FixedSingle = 1, Sizable = 2, FixedDialog = 3 };

// Key codes of the keys the run-time itself gives a meaning, and the shift-state bits.
constexpr int vbKeyTab = 9;
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;
constexpr int vbKeyLeft = 37;
constexpr int vbKeyUp = 38;
constexpr int vbKeyRight = 39;
constexpr int vbKeyDown = 40;
constexpr int vbKeyF4 = 115;
// The characters the clipboard's keys type: Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+X.
constexpr int kCtrlA = 1;
constexpr int kCtrlC = 3;
constexpr int kCtrlV = 22;
constexpr int kCtrlX = 24;
constexpr int vbShiftMask = 1;
constexpr int vbCtrlMask = 2;
constexpr int vbAltMask = 4;

// A mouse event over a form's notification-area icon: which button, and what it did.
enum class MouseButton { None, Left, Right, Middle };
enum class MouseAction { Move, Down, Up, DoubleClick };
struct TrayMouseEvent {
  MouseButton button = MouseButton::None;
  MouseAction action = MouseAction::Move;
  bool operator==(const TrayMouseEvent&) const = default;
};
// The icon reports each event by the number of the window message it stands for (0x200 a move,
// 0x201 the left button down, ... 0x209 the middle button's double click); nothing for another.
std::optional<TrayMouseEvent> TrayMouseFromMessage(std::uint32_t mouseMessage);
// What the shell tells of a balloon shown over the icon: it went (the user closed it, its time
// ran out, or the shell hid it) or the user clicked it. It reports them by the same channel, as
// 0x403 (hidden), 0x404 (timed out) and 0x405 (clicked); its showing, 0x402, is not told.
enum class TrayBalloonEvent { Closed, Clicked };
std::optional<TrayBalloonEvent> TrayBalloonFromMessage(std::uint32_t number);

// Data another program sends to a form's window (WM_COPYDATA): what kind it says it is, its
// bytes; the form's answer, and a text to send back to the sender's window.
struct CopyDataMessage {
  std::uintptr_t kind = 0;
  std::string data;
  std::string reply;
  std::int32_t answer = 0;
};

// Twips per pixel at the usual 96 dots per inch.
constexpr int kTwipsPerPixel = 15;
constexpr int kDefaultDpi = 96;
constexpr int kTwipsPerInch = 1440;

// Twips as pixels on a monitor of `dpi` dots per inch, to the nearest pixel (a half away from
// zero, as Windows' MulDiv rounds); pixels as twips, exactly where they divide, else the
// nearest twip; and pixels as twips rounded up, for a size that must hold what was measured.
constexpr int TwipsToPixels(int twips, int dpi) {
  long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled >= 0 ? scaled + kTwipsPerInch / 2 : scaled - kTwipsPerInch / 2) / kTwipsPerInch);
}
constexpr int PixelsToTwips(int pixels, int dpi) {
  long long scaled = static_cast<long long>(pixels) * kTwipsPerInch;
  return static_cast<int>((scaled >= 0 ? scaled + dpi / 2 : scaled - dpi / 2) / dpi);
}
constexpr int PixelsToTwipsUp(int pixels, int dpi) {
  return static_cast<int>((static_cast<long long>(pixels) * kTwipsPerInch + dpi - 1) / dpi);
}

// Stores a new property value and tells whoever shows it; an equal value changes nothing.
// Returns whether the value changed. Every property setter of the model goes through this.
// The field may also be a std::tie of several fields that change together.
template <typename T, typename U, typename Notify>
bool AssignProperty(T&& field, U&& value, Notify&& notify) {
  if (field == value) return false;
  field = std::forward<U>(value);
  notify();
  return true;
}

// A handler slot: calls the bound function if there is one.
template <typename... Args>
class Event {
 public:
  Event& operator=(std::function<void(Args...)> handler) {
    handler_ = std::move(handler);
    return *this;
  }
  void operator()(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }
  explicit operator bool() const { return static_cast<bool>(handler_); }

 private:
  std::function<void(Args...)> handler_;
};

}  // namespace ui
