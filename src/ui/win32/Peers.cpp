#include "ui/win32/Peers.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <functional>

#include "base/Utf8.h"
#include "os/win32/Text.h"
#include "ui/Error.h"
#include "ui/win32/WindowText.h"

namespace ui::win32 {

std::string DisplayText(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) out += '\n';
  }
  return out;
}

// ---------------------------------------------------------------- WindowPeer

WindowPeer::WindowPeer(Backend& backend, Control& control) : backend_(backend), control_(control) {}

WindowPeer::~WindowPeer() {
  if (!hwnd_) return;
  if (!control_.ToolTipText().empty())
    if (FormPeer* form = Form()) form->SetToolTip(hwnd_, "");
  backend_.DetachPeer(hwnd_);
  DestroyWindow(hwnd_);
}

WindowPeer* WindowPeer::FromWindow(HWND hwnd) { return Backend::PeerOf(hwnd); }

FormPeer* WindowPeer::Form() const { return dynamic_cast<FormPeer*>(control_.OwnerForm().GetPeer()); }

HWND WindowPeer::ParentWindow() const {
  Container* parent = control_.Parent();
  return parent ? reinterpret_cast<HWND>(parent->hWnd()) : nullptr;
}

void WindowPeer::Create(const char* windowClass, DWORD style, DWORD exStyle, const std::string& text) {
  HWND parent = ParentWindow();
  // A control is made visible as it is made: under Wine each later ShowWindow is a round trip
  // to the server, some forty of them before the main window can show.
  // A control is made where it stands, so that placing it after is no second trip.
  // And it is made disabled when it starts so, rather than disabled after (a round trip again,
  // and a repaint).
  DWORD childStyle = parent ? WS_CHILD | WS_CLIPSIBLINGS | (control_.Visible() ? WS_VISIBLE : 0) |
                                  (ShouldBeEnabled() ? 0 : WS_DISABLED)
                            : 0;
  RECT at = parent ? Bounds() : RECT{0, 0, 0, 0};
  placed_ = at;
  hwnd_ = MakeWindow(exStyle, windowClass, text, style | childStyle, at, parent,
                     parent ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(backend_.NextControlId())) : nullptr,
                     backend_.Instance());
  if (!hwnd_) throw RuntimeError(base::kInvalidProcedureCall, std::string("Cannot create a ") + windowClass + " window");
  // A control of Windows' own is subclassed; a form's window has the backend's procedure.
  backend_.AddWindow(hwnd_, this, parent ? Subclass(hwnd_, &WindowPeer::SubclassProc) : nullptr);
  if (parent) {
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
  }
  Place();
  if (parent && !control_.ToolTipText().empty()) Apply(Prop::ToolTip);
}

// A control's window is made once the control can be seen: itself and each container up to
// the form shown, and within its container's area. A program may keep whole panels hidden or
// out of view until they are needed, and under Wine each window costs dozens of round trips to
// the server when the form is made.
bool WindowPeer::InSight() const {
  for (const Control* c = &control_; c && c->Kind() != ControlKind::Form; c = c->Parent())
    if (!c->Visible()) return false;
  return control_.InView();
}

void WindowPeer::MakeWhenSeen() {
  if (InSight()) MakeNow();
}

void WindowPeer::MakeNow() {
  Make();
  if (!hwnd_) return;
  KeepOrder();
  MakeChildrenInSight();
}

// A container's children that have come into sight with it, or since it was made.
void WindowPeer::MakeChildrenInSight() {
  if (auto* container = dynamic_cast<Container*>(&control_); container && InSight()) MakeSeenChildren(*container);
}

// A window made after its later siblings goes in among them where the control stands in its
// container: that order is the tab order, and where two overlap the earlier lies on top.
void WindowPeer::KeepOrder() {
  HWND after = HWND_TOP;
  bool passed = false;
  for (Control* sibling : control_.Parent()->Children()) {
    auto window = reinterpret_cast<HWND>(sibling->hWnd());
    if (sibling == &control_) {
      passed = true;
    } else if (window && !passed) {
      after = window;
    } else if (window) {
      SetWindowPos(hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return;
    }
  }
}

void WindowPeer::MakeSeenChildren(Container& container) {
  for (Control* child : container.Children()) {
    auto* peer = dynamic_cast<WindowPeer*>(child->GetPeer());
    if (!peer) continue;
    if (!peer->hwnd_) {
      if (peer->InSight()) peer->MakeNow();
    } else if (auto* inner = dynamic_cast<Container*>(child)) {
      MakeSeenChildren(*inner);
    }
  }
}

RECT WindowPeer::Bounds() const {
  // Each edge rounded on its own: controls that meet in twips meet in pixels too.
  return {Px(control_.Left()), Px(control_.Top()), Px(control_.Left() + control_.Width()),
          Px(control_.Top() + control_.Height())};
}

void WindowPeer::Place() {
  RECT at = Bounds();
  if (EqualRect(&at, &placed_)) return;
  placed_ = at;
  MoveWindow(hwnd_, at.left, at.top, at.right - at.left, at.bottom - at.top, TRUE);
}

// Until its window is made, a control keeps its state in the model alone; making the window
// gives it the whole of that state.
void WindowPeer::Update(Prop what) {
  if (hwnd_) {
    Apply(what);
  } else {
    Unseen(what);
    if ((what == Prop::Visible || what == Prop::Geometry) && InSight()) MakeNow();
  }
}

void WindowPeer::Apply(Prop what) {
  switch (what) {
    case Prop::Geometry:
      Place();
      if (ParentWindow()) RefreshEnabled();
      MakeChildrenInSight();  // some may have come into view
      break;
    case Prop::Visible:
      ShowWindow(hwnd_, control_.Visible() ? SW_SHOWNA : SW_HIDE);
      MakeChildrenInSight();
      break;
    case Prop::Enabled:
      RefreshEnabled();
      break;
    case Prop::Font:
      SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), TRUE);
      break;
    case Prop::ToolTip:
      if (FormPeer* form = Form()) form->SetToolTip(hwnd_, control_.ToolTipText());
      break;
    default:
      break;
  }
}

void WindowPeer::RefreshFont() {
  HFONT font = ControlFont();
  if (hwnd_ && reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)) != font)
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void WindowPeer::Focus() {
  if (hwnd_) SetFocus(hwnd_);
}

void WindowPeer::RefreshEnabled() {
  if (!hwnd_) return;
  if (ParentWindow()) {
    BOOL enable = ShouldBeEnabled();
    if (!IsWindowEnabled(hwnd_) != !enable) EnableWindow(hwnd_, enable);
  }
  auto* container = dynamic_cast<Container*>(&control_);
  if (!container) return;
  if (ParentWindow()) InvalidateRect(hwnd_, nullptr, TRUE);  // a frame's caption greys with it
  for (Control* child : container->Children())
    if (auto* peer = dynamic_cast<WindowPeer*>(child->GetPeer())) peer->RefreshEnabled();
}

bool WindowPeer::ShouldBeEnabled() const { return control_.EffectivelyEnabled() && control_.InView(); }

// A control stands on its container's background: a form's own colour, a frame's or picture
// box's button face.
HBRUSH WindowPeer::OnColor(HDC dc) {
  Container* parent = control_.Parent();
  Color back = parent && parent->Kind() == ControlKind::Form ? static_cast<ui::Form*>(parent)->BackColor
                                                             : kSystemButtonFace;
  SetBkColor(dc, backend_.ColorRef(back));
  return backend_.BrushFor(back);
}

bool WindowPeer::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_SETFOCUS) {
    HWND hwnd = hwnd_;
    focusing_ = true;
    result = CallOriginal(message, wParam, lParam);
    focusing_ = false;
    Control* control = &control_;
    backend_.Deliver([control] { control->OwnerForm().FocusMoved(control); });
    if (FromWindow(hwnd) == this)
      if (FormPeer* form = Form()) form->ShowDefaultButton();
    return true;
  }
  return false;
}

LRESULT WindowPeer::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallOriginal(hwnd_, message, wParam, lParam);
}

LRESULT WindowPeer::CallOriginal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = Backend::OriginalProcOf(hwnd);
  if (message == WM_NCDESTROY) Backend::ForgetWindow(hwnd);
  return original ? CallProc(original, hwnd, message, wParam, lParam) : DefaultProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WindowPeer::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowPeer* peer = FromWindow(hwnd);
  if (peer) {
    LRESULT result = 0;
    if (peer->OnMessage(message, wParam, lParam, result)) return result;
  }
  return CallOriginal(hwnd, message, wParam, lParam);
}

bool WindowPeer::DecodeChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (WindowPeer* child = lParam ? FromWindow(reinterpret_cast<HWND>(lParam)) : nullptr) {
        child->OnCommand(HIWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (WindowPeer* child = FromWindow(header->hwndFrom)) {
        result = child->OnNotify(header);
        return true;
      }
      return false;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (WindowPeer* child = lParam ? FromWindow(reinterpret_cast<HWND>(lParam)) : nullptr) {
        child->OnScroll(LOWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (WindowPeer* child = FromWindow(reinterpret_cast<HWND>(lParam))) {
        result = reinterpret_cast<LRESULT>(child->OnColor(reinterpret_cast<HDC>(wParam)));
        return true;
      }
      return false;
    default:
      return false;
  }
}

// ---------------------------------------------------------------- the control kinds

namespace {

// A label draws itself, as the static control would (its parent's colour, its text wrapped in
// its alignment, greyed while disabled), through a picture kept between paints with the font
// already chosen. The clock label changes every second, and under Wine each choice of a font on
// the window itself reads the X resources from disk again.
//
// It also keeps its own text and answers WM_GETTEXT and WM_GETTEXTLENGTH from it, so that a new
// caption costs no request to Wine's server; other programs and accessibility tools read it by
// those messages. (The window's own copy keeps the caption the label was made with.)
class LabelPeer : public WindowPeer {
 public:
  LabelPeer(Backend& backend, Label& label)
      : WindowPeer(backend, label), label_(label) {
    MakeWhenSeen();
  }
  void Make() override {
    text_ = DisplayText(label_.Caption());
    Create("STATIC", Style(), 0, text_);
  }
  ~LabelPeer() override { DropPicture(); }
  std::string ShownText() const override { return label_.Caption(); }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_SETTEXT:
        SetText(FromNative(reinterpret_cast<const void*>(lParam)));
        result = TRUE;
        return true;
      case WM_GETTEXTLENGTH:
        result = static_cast<LRESULT>(NativeText(text_).Length());
        return true;
      case WM_GETTEXT:
        result = AnswerGetText(text_, wParam, lParam);
        return true;
      case WM_ERASEBKGND:
        result = 1;
        return true;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        Paint(dc);
        EndPaint(hwnd_, &ps);
        result = 0;
        return true;
      }
      case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        result = 0;
        return true;
      default:
        return WindowPeer::OnMessage(message, wParam, lParam, result);
    }
  }
  void Apply(Prop what) override {
    if (what == Prop::Caption) {
      // The same text may be drawn another way now: its "&" shown or taken as an access key.
      if (!SetText(DisplayText(label_.Caption()))) InvalidateRect(hwnd_, nullptr, TRUE);
    } else if (what == Prop::Alignment) {
      SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>((GetWindowLongPtrA(hwnd_, GWL_STYLE) & ~0x3) | Style()));
      InvalidateRect(hwnd_, nullptr, TRUE);
    } else if (what == Prop::ForeColor) {
      InvalidateRect(hwnd_, nullptr, TRUE);
    } else {
      WindowPeer::Apply(what);
    }
  }
  HBRUSH OnColor(HDC dc) override {
    SetTextColor(dc, backend_.ColorRef(label_.ForeColor()));
    return WindowPeer::OnColor(dc);
  }

 private:
  // Kept, then drawn at once; false when the text was already this.
  bool SetText(std::string text) {
    if (text == text_) return false;
    text_ = std::move(text);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_WINDOW, CHILDID_SELF);
    if (!IsWindowVisible(hwnd_)) return true;
    // Drawing on it changes nothing in the window's device context, so Windows need not reset
    // it when it is given back (under Wine, the reset reads the X resources from disk).
    HDC dc = GetDCEx(hwnd_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_NORESETATTRS);
    Paint(dc);
    ReleaseDC(hwnd_, dc);
    return true;
  }
  void Paint(HDC dc) {
    RECT area;
    GetClientRect(hwnd_, &area);
    if (area.right <= 0 || area.bottom <= 0) return;
    if (!picture_ || size_.cx != area.right || size_.cy != area.bottom) {
      DropPicture();
      picture_ = CreateCompatibleDC(dc);
      bitmap_ = CreateCompatibleBitmap(dc, area.right, area.bottom);
      if (!picture_ || !bitmap_) {
        DropPicture();
        return;
      }
      oldBitmap_ = SelectObject(picture_, bitmap_);
      SetBkMode(picture_, TRANSPARENT);
      size_ = {area.right, area.bottom};
    }
    HFONT font = ControlFont();
    if (font != font_) {
      HGDIOBJ old = SelectObject(picture_, font);
      if (!oldFont_) oldFont_ = old;
      font_ = font;
    }
    FillRect(picture_, &area, OnColor(picture_));
    if (!IsWindowEnabled(hwnd_)) SetTextColor(picture_, GetSysColor(COLOR_GRAYTEXT));
    DrawUtf8(picture_, text_, area,
             TextAlignment() | DT_EXPANDTABS | DT_WORDBREAK | (label_.UseMnemonic() ? 0 : DT_NOPREFIX));
    BitBlt(dc, 0, 0, area.right, area.bottom, picture_, 0, 0, SRCCOPY);
  }
  void DropPicture() {
    if (!picture_) return;
    if (oldFont_) SelectObject(picture_, oldFont_);
    if (oldBitmap_) SelectObject(picture_, oldBitmap_);
    DeleteDC(picture_);
    if (bitmap_) DeleteObject(bitmap_);
    picture_ = nullptr;
    bitmap_ = nullptr;
    oldBitmap_ = oldFont_ = nullptr;
    font_ = nullptr;
  }
  DWORD Style() const {
    switch (label_.GetAlignment()) {
      case Alignment::Center:
        return SS_CENTER;
      case Alignment::Right:
        return SS_RIGHT;
      default:
        return SS_LEFT;
    }
  }
  UINT TextAlignment() const {
    DWORD style = Style();
    return style == SS_CENTER ? DT_CENTER : style == SS_RIGHT ? DT_RIGHT : DT_LEFT;
  }
  Label& label_;
  std::string text_;
  HDC picture_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
  HFONT font_ = nullptr;
  SIZE size_{0, 0};
};

class TextBoxPeer : public WindowPeer {
 public:
  TextBoxPeer(Backend& backend, TextBox& box) : WindowPeer(backend, box), box_(box) { MakeWhenSeen(); }
  std::string ShownText() const override { return box_.Text(); }
  void Make() override {
    quiet_ = true;
    DWORD lines = box_.MultiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
    Create("EDIT", WS_TABSTOP | lines | ES_LEFT | (box_.Locked() ? ES_READONLY : 0), WS_EX_CLIENTEDGE, box_.Text());
    SendMessageA(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(box_.MaxLength()), 0);
    quiet_ = false;
  }
  void Apply(Prop what) override {
    switch (what) {
      case Prop::Text:
        quiet_ = true;
        RefreshFont();
        SetText(hwnd_, box_.Text());
        quiet_ = false;
        break;
      case Prop::Selection: {
        auto [start, length] = box_.ModelSelection();
        // The model counts the bytes of its UTF-8, the control its own units.
        const std::string& text = box_.Text();
        SendMessageA(hwnd_, EM_SETSEL, NativeOffset(text, start), static_cast<LPARAM>(NativeOffset(text, start + length)));
        SendMessageA(hwnd_, EM_SCROLLCARET, 0, 0);  // a caret put at the end of a long text shows that end
        selectedDuringClick_ = true;
        break;
      }
      case Prop::MaxLength:
        SendMessageA(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(box_.MaxLength()), 0);
        break;
      case Prop::Locked:
        SendMessageA(hwnd_, EM_SETREADONLY, box_.Locked(), 0);
        break;
      case Prop::BackColor:
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
      default:
        WindowPeer::Apply(what);
    }
  }
  std::optional<std::pair<int, int>> NativeSelection() override {
    if (!hwnd_) return std::nullopt;
    return SelectionIn(box_.Text());
  }
  // The control's selection, as offsets into its text (the same as the model's but for a
  // change the model has still to hear of).
  std::pair<int, int> SelectionIn(const std::string& text) {
    DWORD start = 0, end = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    auto first = static_cast<int>(Utf8Offset(text, start)), last = static_cast<int>(Utf8Offset(text, end));
    return {first, last - first};
  }
  void OnCommand(WORD code) override {
    if (code != EN_CHANGE || quiet_) return;
    // The edit control changed its own text: a paste, a cut, the Delete key.
    std::string text = WindowText(hwnd_);
    auto selection = SelectionIn(text);
    TextBox* box = &box_;
    HWND window = hwnd_;
    backend_.Deliver([=] { box->NativeTextChanged(text, selection.first, selection.second); });
    if (Backend::PeerOf(window) == this) RefreshFont();  // a pasted text the font may not hold
  }
  HBRUSH OnColor(HDC dc) override {
    if (!box_.EffectivelyEnabled() || box_.BackColor() == kSystemWindowBackground) {
      if (box_.Locked() && box_.EffectivelyEnabled()) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
      }
      return nullptr;
    }
    SetBkColor(dc, backend_.ColorRef(box_.BackColor()));
    return backend_.BrushFor(box_.BackColor());
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_CHAR) {
      // Typing goes through the model, which decides what reaches the text.
      int key = 0;
      if (!Typed(wParam, key)) {
        result = 0;
        return true;
      }
      int passOn = 0;
      TextBox* box = &box_;
      HWND hwnd = hwnd_;
      backend_.Deliver([&passOn, box, key] { passOn = box->UserType(key); });
      result = passOn != 0 && IsWindow(hwnd) ? CallOriginal(hwnd, message, static_cast<WPARAM>(passOn), lParam) : 0;
      return true;
    }
    if (message == WM_LBUTTONDOWN && GetFocus() != hwnd_) {
      // A click that brings the focus in: what the focus handlers select stands, as when the
      // box is entered with Tab, instead of the caret the edit control puts at the pointer.
      HWND hwnd = hwnd_;
      selectedDuringClick_ = false;
      result = CallOriginal(message, wParam, lParam);
      if (FromWindow(hwnd) == this && selectedDuringClick_ && GetFocus() == hwnd) Apply(Prop::Selection);
      return true;
    }
    if (message == WM_LBUTTONDBLCLK) {
      result = CallOriginal(message, wParam, lParam);
      TextBox* box = &box_;
      backend_.Deliver([box] { box->UserDoubleClick(); });
      return true;
    }
    return WindowPeer::OnMessage(message, wParam, lParam, result);
  }

 private:
  // The character typed, by its Unicode number, once the whole of it has come: one beyond the
  // first plane comes as two WM_CHARs (a surrogate pair), a double-byte character of a code
  // page (on Windows 95, 98 and Me) as its two bytes. False while a half is still to come, and
  // for a half that came alone.
  bool Typed(WPARAM wParam, int& key) {
    int first = pending_;
    pending_ = 0;
    if (boundary::WideApi()) {
      auto unit = static_cast<int>(wParam & 0xFFFF);
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        pending_ = unit;
        return false;
      }
      if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (!first) return false;
        key = 0x10000 + ((first - 0xD800) << 10) + (unit - 0xDC00);
        return true;
      }
      key = unit;
      return true;
    }
    auto byte = static_cast<int>(wParam & 0xFF);
    if (!first && IsDBCSLeadByte(static_cast<BYTE>(byte))) {
      pending_ = byte;
      return false;
    }
    if (!first && byte < 0x80) {
      key = byte;
      return true;
    }
    std::string bytes;
    if (first) bytes += static_cast<char>(first);
    bytes += static_cast<char>(byte);
    std::wstring units = base::Utf16(boundary::FromCodePage(bytes));
    key = units.empty() ? 0 : static_cast<int>(static_cast<std::uint16_t>(units[0]));
    return key != 0;
  }

  TextBox& box_;
  int pending_ = 0;
  bool selectedDuringClick_ = false;
};

// The three kinds of button: a check box (three states, so that 2 shows greyed), an option
// button (the first of its container starts the group) and a command button. The model
// decides every state; a click only reports itself.
int CheckState(const CheckBox& box) {
  return box.Value() == 1 ? BST_CHECKED : box.Value() == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
}
int CheckState(const OptionButton& option) { return option.Value() ? BST_CHECKED : BST_UNCHECKED; }
int CheckState(const CommandButton&) { return -1; }

DWORD ButtonStyle(const CheckBox&) { return BS_3STATE; }
DWORD ButtonStyle(const CommandButton&) { return BS_PUSHBUTTON; }
DWORD ButtonStyle(const OptionButton& option) {
  return BS_RADIOBUTTON | (option.Group().front() == &option ? WS_GROUP : 0);
}

// Of an option group only the selected button is a tab stop (the first one while none is
// selected); the arrow keys move within the group, as in a dialog.
void UpdateTabStops(const CheckBox&) {}
void UpdateTabStops(const CommandButton&) {}
void UpdateTabStops(const OptionButton& option) {
  for (OptionButton* member : option.Group()) {
    HWND hwnd = reinterpret_cast<HWND>(member->hWnd());
    if (!hwnd) continue;
    bool stop = member->IsTabStop();
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG wanted = stop ? style | WS_TABSTOP : style & ~WS_TABSTOP;
    if (wanted != style) SetWindowLongA(hwnd, GWL_STYLE, wanted);  // a change is a trip to Wine's server
  }
}

template <typename Button>
class ButtonPeer : public WindowPeer {
 public:
  ButtonPeer(Backend& backend, Button& model) : WindowPeer(backend, model), model_(model) { MakeWhenSeen(); }
  void Make() override {
    Create("BUTTON", WS_TABSTOP | ButtonStyle(model_), 0, model_.Caption());
    Apply(Prop::Value);
  }
  void Apply(Prop what) override {
    if (what == Prop::Value && CheckState(model_) >= 0) {
      SendMessageA(hwnd_, BM_SETCHECK, static_cast<WPARAM>(CheckState(model_)), 0);
      UpdateTabStops(model_);
    } else if (what == Prop::Caption) {
      SetText(hwnd_, model_.Caption());
    } else if (what == Prop::Default) {
      if (FormPeer* form = Form()) form->ShowDefaultButton();
    } else if (what != Prop::Value) {
      WindowPeer::Apply(what);
    }
  }
  // An option button that gets the focus from the keyboard or from code reports a click;
  // only the user's own click (mouse, Space, access key) counts.
  void OnCommand(WORD code) override {
    if (code != BN_CLICKED || focusing_) return;
    Button* model = &model_;
    backend_.Deliver([model] { model->UserClick(); });
  }

 private:
  Button& model_;
};

// Frames and picture boxes are plain containers; a frame paints its etched border and caption,
// the caption greyed while the frame cannot be reached.
class PanelPeer : public WindowPeer {
 public:
  PanelPeer(Backend& backend, Container& panel) : WindowPeer(backend, panel) { MakeWhenSeen(); }
  void Make() override { Create(kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, ""); }
  void Apply(Prop what) override {
    if (what == Prop::Caption) InvalidateRect(hwnd_, nullptr, TRUE);
    WindowPeer::Apply(what);
  }
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message != WM_PAINT) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    if (control_.Kind() == ControlKind::Frame) PaintFrame(dc, static_cast<Frame&>(control_));
    EndPaint(hwnd_, &paint);
    result = 0;
    return true;
  }

 private:
  void PaintFrame(HDC dc, const Frame& frame) {
    RECT client;
    GetClientRect(hwnd_, &client);
    HGDIOBJ oldFont = SelectObject(dc, backend_.FontFor(frame.GetFont(), Dpi()));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    RECT border = client;
    border.top = metrics.tmHeight / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    if (!frame.Caption().empty()) {
      const int in = MulDiv(8, Dpi(), kDefaultDpi), gap = MulDiv(2, Dpi(), kDefaultDpi);
      RECT text{in, 0, client.right - in, metrics.tmHeight};
      DrawUtf8(dc, frame.Caption(), text, DT_SINGLELINE | DT_CALCRECT);
      RECT back{text.left - gap, 0, text.right + gap, metrics.tmHeight};
      FillRect(dc, &back, GetSysColorBrush(COLOR_BTNFACE));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(frame.EffectivelyEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
      DrawUtf8(dc, frame.Caption(), text, DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
  }
};

class ComboPeer : public WindowPeer {
 public:
  ComboPeer(Backend& backend, ComboBox& list) : WindowPeer(backend, list), list_(list) { MakeWhenSeen(); }
  void Make() override {
    Create("COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, "");
    Apply(Prop::List);
    FitHeight();
  }
  void Rescale() override {
    WindowPeer::Rescale();
    FitHeight();
  }
  void Apply(Prop what) override {
    if (what == Prop::List) {
      SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
      for (const std::string& item : list_.Items()) SendText(hwnd_, CB_ADDSTRING, 0, item);
      Apply(Prop::Value);
    } else if (what == Prop::Value) {
      SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(list_.ListIndex()), 0);
    } else {
      WindowPeer::Apply(what);
    }
  }
  void OnCommand(WORD code) override {
    if (code != CBN_SELCHANGE) return;
    int index = static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
    ComboBox* list = &list_;
    backend_.Deliver([list, index] { list->UserChoose(index); });
  }

 protected:
  // A closed list is as high as its font makes it. Away from 96 DPI, where the font is not the
  // one the design was drawn with, it is made as high as designed, like the boxes beside it.
  void FitHeight() {
    if (Dpi() == kDefaultDpi) return;
    RECT closed;
    GetWindowRect(hwnd_, &closed);
    const int field = static_cast<int>(SendMessageA(hwnd_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    const int edges = (closed.bottom - closed.top) - field;
    const int wanted = Px(list_.Height());
    if (field > 0 && wanted - edges > field) SendMessageA(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted - edges);
  }
  // The window's height includes the dropped-down list.
  RECT Bounds() const override {
    RECT at = WindowPeer::Bounds();
    at.bottom += MulDiv(120, Dpi(), kDefaultDpi);
    return at;
  }

 private:
  ComboBox& list_;
};

// The native bar runs from 0 to |Max - Min|; when Min is above Max the model's values run
// the other way, so the up arrow raises them.
class ScrollPeer : public WindowPeer {
 public:
  ScrollPeer(Backend& backend, ScrollBar& bar) : WindowPeer(backend, bar), bar_(bar) { MakeWhenSeen(); }
  void Make() override {
    Create("SCROLLBAR", WS_TABSTOP | SBS_VERT, 0, "");
    Apply(Prop::Range);
  }
  void Apply(Prop what) override {
    if (what == Prop::Range || what == Prop::Value) {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
      info.nMin = 0;
      info.nMax = std::abs(bar_.Max() - bar_.Min());
      info.nPage = 0;
      info.nPos = NativeOf(bar_.Value());
      SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
    } else {
      WindowPeer::Apply(what);
    }
  }
  void OnScroll(WORD code) override {
    ScrollBar* bar = &bar_;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(hwnd_, SB_CTL, &info);
    int tracked = ModelOf(info.nTrackPos);
    switch (code) {
      case SB_LINEUP:
        backend_.Deliver([bar] { bar->UserLineUp(); });
        break;
      case SB_LINEDOWN:
        backend_.Deliver([bar] { bar->UserLineDown(); });
        break;
      case SB_PAGEUP:
        backend_.Deliver([bar] { bar->UserPageUp(); });
        break;
      case SB_PAGEDOWN:
        backend_.Deliver([bar] { bar->UserPageDown(); });
        break;
      case SB_THUMBTRACK:
        backend_.Deliver([bar, tracked] { bar->UserThumbTrack(tracked); });
        break;
      case SB_THUMBPOSITION:
        backend_.Deliver([bar, tracked] { bar->UserThumbRelease(tracked); });
        break;
      default:
        break;
    }
  }

 private:
  int Direction() const { return bar_.Max() >= bar_.Min() ? 1 : -1; }
  int NativeOf(int value) const { return (value - bar_.Min()) * Direction(); }
  int ModelOf(int native) const { return bar_.Min() + native * Direction(); }
  ScrollBar& bar_;
};

class PickerPeer : public WindowPeer {
 public:
  static constexpr const char* kTwelveHours = "hh':'mm':'ss tt";
  static constexpr const char* kTwentyFourHours = "HH':'mm':'ss";
  static bool HasDesignators() {
    char am[16] = {}, pm[16] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S1159, am, sizeof am) > 1 &&
           GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S2359, pm, sizeof pm) > 1;
  }
  PickerPeer(Backend& backend, DTPicker& picker) : WindowPeer(backend, picker), picker_(picker) { MakeWhenSeen(); }
  void Make() override {
    Create(DATETIMEPICK_CLASSA, WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 0, "");
    // The time of day only, two digits each, with the AM/PM designator; a language without
    // designators gets the 24-hour clock, so that morning and evening still differ.
    SendMessageA(hwnd_, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(HasDesignators() ? kTwelveHours : kTwentyFourHours));
    Apply(Prop::Value);
  }
  void Apply(Prop what) override {
    if (what != Prop::Value) {
      WindowPeer::Apply(what);
      return;
    }
    base::CivilTime c = base::ToCivil(picker_.Value());
    if (c.year < 1753) return;  // no value yet: the control keeps its own
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(c.year);
    time.wMonth = static_cast<WORD>(c.month);
    time.wDay = static_cast<WORD>(c.day);
    time.wHour = static_cast<WORD>(c.hour);
    time.wMinute = static_cast<WORD>(c.minute);
    time.wSecond = static_cast<WORD>(c.second);
    quiet_ = true;
    SendMessageA(hwnd_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    quiet_ = false;
  }
  LRESULT OnNotify(NMHDR* header) override {
    if (header->code != DTN_DATETIMECHANGE || quiet_) return 0;
    auto* change = reinterpret_cast<NMDATETIMECHANGE*>(header);
    if (change->dwFlags != GDT_VALID) return 0;
    const SYSTEMTIME& t = change->st;
    base::LocalTime value = base::MakeLocalTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
    DTPicker* picker = &picker_;
    backend_.Deliver([picker, value] { picker->UserSetValue(value); });
    return 0;
  }

 private:
  DTPicker& picker_;
};

class ProgressPeer : public WindowPeer {
 public:
  ProgressPeer(Backend& backend, ProgressBar& bar) : WindowPeer(backend, bar), bar_(bar) { MakeWhenSeen(); }
  void Make() override {
    Create(PROGRESS_CLASSA, 0, 0, "");
    Apply(Prop::Range);
  }
  void Apply(Prop what) override {
    if (what == Prop::Range || what == Prop::Value) {
      SendMessageA(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(bar_.Min()), static_cast<LPARAM>(bar_.Max()));
      SendMessageA(hwnd_, PBM_SETPOS, static_cast<WPARAM>(bar_.Value()), 0);
    } else {
      WindowPeer::Apply(what);
    }
  }

 private:
  ProgressBar& bar_;
};

// The panels' tips are the form's own, one for each panel's area, so that they show whenever
// the pointer rests on a panel (the status bar's own show only for a text cut short).
class StatusPeer : public WindowPeer {
 public:
  StatusPeer(Backend& backend, StatusBar& bar) : WindowPeer(backend, bar), bar_(bar) { MakeWhenSeen(); }
  std::string ShownText() const override {
    std::string all;
    for (int i = 1; i <= bar_.PanelCount(); ++i) all += bar_.GetPanel(i).text;
    return all;
  }
  void Make() override {
    Create(STATUSCLASSNAMEA, 0, 0, "");
    Apply(Prop::Panels);
  }
  void Apply(Prop what) override {
    if (what != Prop::Panels) {
      if (what != Prop::Geometry) WindowPeer::Apply(what);
      return;
    }
    std::vector<int> edges;
    int right = 0;  // twips
    for (int i = 1; i <= bar_.PanelCount(); ++i) {
      right += bar_.GetPanel(i).width;
      edges.push_back(i == bar_.PanelCount() ? -1 : Px(right));
    }
    SendMessageA(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    RefreshFont();
    for (int i = 1; i <= bar_.PanelCount(); ++i)
      SendText(hwnd_, SB_SETTEXTA, SB_SETTEXTW, static_cast<WPARAM>(i - 1), bar_.GetPanel(i).text);
    ShowTips();
  }
  // The bar docks itself at the bottom of the form whenever the form's size changes; the
  // panels' areas move with it.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message != WM_SIZE) return WindowPeer::OnMessage(message, wParam, lParam, result);
    result = CallOriginal(message, wParam, lParam);
    ShowTips();
    return true;
  }

 protected:
  void Place() override { SendMessageA(hwnd_, WM_SIZE, 0, 0); }
  void Rescale() override {
    Apply(Prop::Font);
    Apply(Prop::Panels);
    Place();
  }

 private:
  void ShowTips() {
    FormPeer* form = Form();
    if (!form) return;
    for (int i = 1; i <= bar_.PanelCount(); ++i) {
      RECT area{};
      SendMessageA(hwnd_, SB_GETRECT, static_cast<WPARAM>(i - 1), reinterpret_cast<LPARAM>(&area));
      form->SetAreaToolTip(hwnd_, static_cast<UINT_PTR>(i), area, bar_.GetPanel(i).toolTipText);
    }
  }
  StatusBar& bar_;
};

class ImagePeer : public WindowPeer {
 public:
  // The picture is loaded whether or not the window is made: the tray shows it.
  ImagePeer(Backend& backend, Image& image) : WindowPeer(backend, image), image_(image) {
    LoadPicture();
    MakeWhenSeen();
  }
  void Make() override {
    Create("STATIC", SS_ICON | SS_REALSIZECONTROL, 0, "");
    SendMessageA(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  }
  void Unseen(Prop what) override {
    if (what == Prop::Picture || what == Prop::Geometry) LoadPicture();
  }
  ~ImagePeer() override {
    if (icon_) DestroyIcon(icon_);
  }
  void Apply(Prop what) override {
    if (what != Prop::Picture) {
      WindowPeer::Apply(what);
      if (what != Prop::Geometry) return;
    }
    HICON old = icon_;
    LoadPicture(false);
    SendMessageA(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
    if (old) DestroyIcon(old);
  }
  std::uintptr_t PictureHandle() const override { return reinterpret_cast<std::uintptr_t>(icon_); }

 private:
  // The picture at the image's size; the one it replaces is dropped here unless the window
  // still shows it.
  void LoadPicture(bool dropOld = true) {
    HICON old = icon_;
    icon_ = image_.Picture().empty()
                ? nullptr
                : static_cast<HICON>(LoadImageA(backend_.Instance(), image_.Picture().c_str(), IMAGE_ICON,
                                                Px(image_.Width()), Px(image_.Height()), 0));
    if (dropOld && old) DestroyIcon(old);
  }
  Image& image_;
  HICON icon_ = nullptr;
};

// A timer has no window of its own: the backend runs it as a system timer.
class TimerPeer : public Peer {
 public:
  TimerPeer(Backend& backend, Timer& timer) : backend_(backend), timer_(timer), id_(backend.StartTimer(timer)) {}
  ~TimerPeer() override { backend_.StopTimer(id_); }
  void Update(Prop what) override {
    if (what == Prop::Enabled || what == Prop::Interval) backend_.RestartTimer(id_, timer_);
  }

 private:
  Backend& backend_;
  Timer& timer_;
  UINT id_;
};

}  // namespace

std::unique_ptr<Peer> MakeControlPeer(Backend& backend, Control& control) {
  switch (control.Kind()) {
    case ControlKind::Form:
      return std::make_unique<FormPeer>(backend, static_cast<ui::Form&>(control));
    case ControlKind::Label:
      return std::make_unique<LabelPeer>(backend, static_cast<Label&>(control));
    case ControlKind::TextBox:
      return std::make_unique<TextBoxPeer>(backend, static_cast<TextBox&>(control));
    case ControlKind::CheckBox:
      return std::make_unique<ButtonPeer<CheckBox>>(backend, static_cast<CheckBox&>(control));
    case ControlKind::OptionButton:
      return std::make_unique<ButtonPeer<OptionButton>>(backend, static_cast<OptionButton&>(control));
    case ControlKind::CommandButton:
      return std::make_unique<ButtonPeer<CommandButton>>(backend, static_cast<CommandButton&>(control));
    case ControlKind::Frame:
    case ControlKind::PictureBox:
      return std::make_unique<PanelPeer>(backend, static_cast<Container&>(control));
    case ControlKind::ComboBox:
      return std::make_unique<ComboPeer>(backend, static_cast<ComboBox&>(control));
    case ControlKind::ScrollBar:
      return std::make_unique<ScrollPeer>(backend, static_cast<ScrollBar&>(control));
    case ControlKind::Timer:
      return std::make_unique<TimerPeer>(backend, static_cast<Timer&>(control));
    case ControlKind::DTPicker:
      return std::make_unique<PickerPeer>(backend, static_cast<DTPicker&>(control));
    case ControlKind::ProgressBar:
      return std::make_unique<ProgressPeer>(backend, static_cast<ProgressBar&>(control));
    case ControlKind::StatusBar:
      return std::make_unique<StatusPeer>(backend, static_cast<StatusBar&>(control));
    case ControlKind::Image:
      return std::make_unique<ImagePeer>(backend, static_cast<Image&>(control));
  }
  return nullptr;
}

}  // namespace ui::win32
