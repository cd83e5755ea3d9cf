#include "ui/win32/Peers.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "os/win32/Text.h"
#include "ui/Error.h"
#include "ui/win32/WindowText.h"

namespace ui::win32 {

// WM_DPICHANGED, which only Windows 8.1 and later send (the headers for older Windows lack it).
constexpr UINT kDpiChanged = 0x02E0;

// ---------------------------------------------------------------- FormPeer

WindowStyles FormStyles(const ui::Form& form) {
  WindowStyles s{WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
  switch (form.BorderStyle) {
    case BorderStyle::None:
      s.style |= WS_POPUP;
      break;
    case BorderStyle::FixedSingle:
      s.style |= WS_OVERLAPPED | WS_CAPTION;
      break;
    case BorderStyle::Sizable:
      s.style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
      break;
    case BorderStyle::FixedDialog:
      s.style |= WS_POPUP | WS_CAPTION;
      s.exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  // The caption's buttons come with the system menu only.
  if (form.ControlBox && form.BorderStyle != BorderStyle::None) {
    s.style |= WS_SYSMENU;
    if (form.MinButton) s.style |= WS_MINIMIZEBOX;
    if (form.MaxButton) s.style |= WS_MAXIMIZEBOX;
  }
  if (form.ShowInTaskbar) s.exStyle |= WS_EX_APPWINDOW;
  return s;
}

FormPeer::FormPeer(Backend& backend, ui::Form& form) : WindowPeer(backend, form) {
  WindowStyles styles = FormStyles(form);
  Create(backend.FormClass(form.WindowClass), styles.style, styles.exStyle, form.Caption());
  // Made on a monitor of another DPI than the system's: its controls are made there already.
  form.SetDpi(backend.WindowDpi(hwnd_));
  if (form.CopyData) AcceptCopyData();
  SetOwner();
  for (const std::string& name : form.RegisteredMessages)
    if (UINT id = RegisterWindowMessageA(name.c_str())) registered_[id] = name;
  Apply(Prop::Picture);
}

// An elevated copy of the program drops WM_COPYDATA from a copy with fewer rights unless its
// window lets it through (Windows 7: ChangeWindowMessageFilterEx; Vista: the whole process's
// ChangeWindowMessageFilter); older Windows have no such filter.
void FormPeer::AcceptCopyData() {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return;
  using ForWindow = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  using ForProcess = BOOL(WINAPI*)(UINT, DWORD);
  constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, MSGFLT_ADD
  if (auto allow = reinterpret_cast<ForWindow>(
          reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx"))))
    allow(hwnd_, WM_COPYDATA, kAllow, nullptr);
  else if (auto allowAll = reinterpret_cast<ForProcess>(
               reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter"))))
    allowAll(WM_COPYDATA, kAllow);
}

FormPeer::~FormPeer() {
  if (toolTip_) DestroyWindow(toolTip_);
  if (hwnd_) {
    SetMenu(hwnd_, nullptr);
    backend_.DetachPeer(hwnd_);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  if (bar_) DestroyMenu(bar_);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

FormPeer* FormPeer::FromTopWindow(HWND hwnd) {
  for (HWND w = hwnd; w; w = GetParent(w))
    if (auto* peer = dynamic_cast<FormPeer*>(WindowPeer::FromWindow(w))) return peer;
  return nullptr;
}

// An owned window stays above its owner and goes with it. A form kept out of the taskbar
// with no owner of its own is owned by the program's hidden window.
void FormPeer::SetOwner() {
  ui::Form& form = FormModel();
  HWND owner = form.Owner() ? reinterpret_cast<HWND>(form.Owner()->hWnd()) : nullptr;
  if (!owner && !form.ShowInTaskbar) owner = backend_.HiddenWindow();
  SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void FormPeer::Place() {
  ui::Form& form = FormModel();
  int width = Px(form.Width()), height = Px(form.Height());
  if (form.StartUpPosition == StartUpPosition::Manual || shownOnce_) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    int left = form.StartUpPosition == StartUpPosition::Manual ? Px(form.Left()) : r.left;
    int top = form.StartUpPosition == StartUpPosition::Manual ? Px(form.Top()) : r.top;
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  // Until the first show, the window stays centred on its owner, or on the screen.
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  HWND owner = form.Owner() ? reinterpret_cast<HWND>(form.Owner()->hWnd()) : nullptr;
  if (form.StartUpPosition == StartUpPosition::CenterOwner && owner) GetWindowRect(owner, &area);
  SetWindowPos(hwnd_, nullptr, (area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, width,
               height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormPeer::Refresh() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // Wine hands what was drawn (and a new caption) to the X server only when the thread looks
  // for messages. Looking for one that never comes does that and takes none of the user's
  // input.
  MSG none;
  PeekMsg(none, hwnd_, WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
}

void FormPeer::Apply(Prop what) {
  ui::Form& form = FormModel();
  switch (what) {
    case Prop::Caption:
      SetText(hwnd_, form.Caption());
      break;
    case Prop::Owner:
      SetOwner();
      break;
    case Prop::Visible:
      if (form.Visible()) {
        Place();
        if (menusStale_) MakeMenus();
        shownOnce_ = true;
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        if (!toolTip_) MakeToolTips();
      } else {
        ShowWindow(hwnd_, SW_HIDE);
      }
      break;
    case Prop::Geometry:
      WindowPeer::Apply(what);
      RefreshEnabled();  // a control that has come into view, or gone out of it
      break;
    case Prop::Picture: {
      HICON big = nullptr, small = nullptr;
      if (!form.Icon().empty()) {
        big = static_cast<HICON>(LoadImageA(backend_.Instance(), form.Icon().c_str(), IMAGE_ICON,
                                            backend_.MetricForDpi(SM_CXICON, Dpi()),
                                            backend_.MetricForDpi(SM_CYICON, Dpi()), 0));
        small = static_cast<HICON>(LoadImageA(backend_.Instance(), form.Icon().c_str(), IMAGE_ICON,
                                              backend_.MetricForDpi(SM_CXSMICON, Dpi()),
                                              backend_.MetricForDpi(SM_CYSMICON, Dpi()), 0));
      }
      SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
      SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
      if (bigIcon_) DestroyIcon(bigIcon_);
      if (smallIcon_) DestroyIcon(smallIcon_);
      bigIcon_ = big;
      smallIcon_ = small;
      break;
    }
    default:
      WindowPeer::Apply(what);
  }
}

void FormPeer::ShowDefaultButton() {
  ui::Form& form = FormModel();
  Control* focus = form.ActiveControl();
  Control* target = focus && focus->Kind() == ControlKind::CommandButton ? focus : form.DefaultButton();
  for (Control* control : form.AllControls()) {
    HWND button = reinterpret_cast<HWND>(control->hWnd());
    if (control->Kind() != ControlKind::CommandButton || !button) continue;
    DWORD style = control == target ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) != style) SendMessageA(button, BM_SETSTYLE, style, TRUE);
  }
}

void FormPeer::SetToolTip(HWND control, const std::string& text) {
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;  // the form every common-controls version takes
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  Tip(info, text);
}

void FormPeer::SetAreaToolTip(HWND control, UINT_PTR id, const RECT& area, const std::string& text) {
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = control;
  info.uId = id;
  info.rect = area;
  Tip(info, text);
}

void FormPeer::Tip(const TOOLINFOA& tool, const std::string& text) {
  if (!toolTip_) {
    auto same = [&](const auto& kept) { return kept.first.hwnd == tool.hwnd && kept.first.uId == tool.uId; };
    pendingTips_.erase(std::remove_if(pendingTips_.begin(), pendingTips_.end(), same), pendingTips_.end());
    if (!text.empty()) pendingTips_.emplace_back(tool, text);
    return;
  }
  // The two records differ in their text's kind alone.
  NativeText native(text);
  TOOLINFOA info = tool;
  info.lpszText = static_cast<char*>(const_cast<void*>(native.Pointer()));
  bool wide = boundary::WideApi();
  if (wide) info.cbSize = TTTOOLINFOW_V2_SIZE;
  SendMessageA(toolTip_, wide ? TTM_DELTOOLW : TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  if (!text.empty()) SendMessageA(toolTip_, wide ? TTM_ADDTOOLW : TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void FormPeer::MakeToolTips() {
  toolTip_ = MakeWindow(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, RECT{0, 0, 0, 0},
                        hwnd_, nullptr, backend_.Instance());
  if (!toolTip_) return;
  for (const auto& [tool, text] : pendingTips_) Tip(tool, text);
  pendingTips_.clear();
}

// ---- menus

void FormPeer::AddMenu(MenuPeer* peer) {
  menus_.push_back(peer);
  RebuildMenus();
}

void FormPeer::RemoveMenu(MenuPeer* peer) {
  // Take every menu apart first, so that the departing one destroys no menu still in use.
  if (bar_)
    while (GetMenuItemCount(bar_) > 0) ::RemoveMenu(bar_, 0, MF_BYPOSITION);
  for (MenuPeer* other : menus_) {
    HMENU popup = other->Popup();
    while (GetMenuItemCount(popup) > 0) ::RemoveMenu(popup, 0, MF_BYPOSITION);
  }
  menus_.erase(std::remove(menus_.begin(), menus_.end(), peer), menus_.end());
}

ui::Menu* FormPeer::MenuById(UINT id) const {
  for (MenuPeer* peer : menus_)
    if (peer->Id() == id) return &peer->Model();
  return nullptr;
}

HMENU FormPeer::PopupFor(ui::Menu& menu) {
  auto* peer = dynamic_cast<MenuPeer*>(menu.GetPeer());
  if (!peer) return nullptr;
  FillPopup(menu);
  return peer->Popup();
}

void FormPeer::FillPopup(ui::Menu& menu) {
  auto* peer = dynamic_cast<MenuPeer*>(menu.GetPeer());
  if (!peer) return;
  HMENU popup = peer->Popup();
  while (GetMenuItemCount(popup) > 0) ::RemoveMenu(popup, 0, MF_BYPOSITION);
  for (ui::Menu* item : menu.Items()) {
    auto* itemPeer = dynamic_cast<MenuPeer*>(item->GetPeer());
    if (!itemPeer || !item->Visible()) continue;
    if (item->IsSeparator()) {
      AppendItem(popup, MF_SEPARATOR, 0, "");
      continue;
    }
    UINT flags = (item->Checked() ? MF_CHECKED : 0) | (item->Enabled() ? 0 : MF_GRAYED);
    std::string text = item->Caption();
    if (item->GetShortcut().kind != Shortcut::Kind::None) {
      text += '\t';
      text += item->GetShortcut().Text();
    }
    if (!item->Items().empty()) {
      FillPopup(*item);
      AppendItem(popup, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(itemPeer->Popup()), text);
    } else {
      AppendItem(popup, flags | MF_STRING, itemPeer->Id(), text);
    }
  }
}

// A hidden window's menus are made when it shows. Each rebuild makes a new accelerator table, a
// round trip to the server and back under Wine, and the main window makes some thirty menus and
// items, and changes some, before it first shows.
void FormPeer::RebuildMenus() {
  if (!IsWindowVisible(hwnd_)) {
    menusStale_ = true;
    return;
  }
  MakeMenus();
}

void FormPeer::MakeMenus() {
  menusStale_ = false;
  ui::Form& form = FormModel();
  if (!bar_) bar_ = CreateMenu();
  while (GetMenuItemCount(bar_) > 0) ::RemoveMenu(bar_, 0, MF_BYPOSITION);
  std::vector<ACCEL> keys;
  std::function<void(ui::Menu&)> collect = [&](ui::Menu& menu) {
    auto* peer = dynamic_cast<MenuPeer*>(menu.GetPeer());
    const Shortcut& s = menu.GetShortcut();
    if (peer && s.kind == Shortcut::Kind::Ctrl)
      keys.push_back({static_cast<BYTE>(FVIRTKEY | FCONTROL), static_cast<WORD>(s.key), static_cast<WORD>(peer->Id())});
    if (peer && s.kind == Shortcut::Kind::Function)
      keys.push_back({static_cast<BYTE>(FVIRTKEY), static_cast<WORD>(VK_F1 + s.key - 1), static_cast<WORD>(peer->Id())});
    for (ui::Menu* item : menu.Items()) collect(*item);
  };
  for (ui::Menu* menu : form.Menus()) {
    auto* peer = dynamic_cast<MenuPeer*>(menu->GetPeer());
    if (!peer) continue;
    FillPopup(*menu);
    collect(*menu);
    if (!menu->Visible()) continue;
    AppendItem(bar_, MF_POPUP | (menu->Enabled() ? 0 : MF_GRAYED), reinterpret_cast<UINT_PTR>(peer->Popup()),
               menu->Caption());
  }
  // Setting the bar lays the window out anew; a bar already set is laid out again by a redraw.
  if (GetMenu(hwnd_) != bar_)
    SetMenu(hwnd_, GetMenuItemCount(bar_) > 0 ? bar_ : nullptr);
  else
    DrawMenuBar(hwnd_);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  accelerators_ = keys.empty() ? nullptr : CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
}

// The control that gets the focus when the window does: the one that had it, or else the first
// that takes it. Of an option group, the focus goes back to the selected button, as the user
// last saw it (code may have selected another meanwhile).
HWND FormPeer::FocusTarget() const {
  Control* active = FormModel().ActiveControl();
  if (active && active->Kind() == ControlKind::OptionButton && !static_cast<OptionButton*>(active)->Value()) {
    for (OptionButton* sibling : static_cast<OptionButton*>(active)->Group())
      if (sibling->Value()) active = sibling;
  }
  HWND target = active && active->GetPeer() ? reinterpret_cast<HWND>(active->hWnd()) : nullptr;
  if (target && IsWindowVisible(target) && IsWindowEnabled(target)) return target;
  return GetNextDlgTabItem(hwnd_, nullptr, FALSE);
}

LRESULT CALLBACK FormPeer::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* peer = dynamic_cast<FormPeer*>(WindowPeer::FromWindow(hwnd));
  if (message == WM_NCDESTROY) Backend::ForgetWindow(hwnd);
  if (!peer) return DefaultProc(hwnd, message, wParam, lParam);
  return peer->Handle(message, wParam, lParam);
}

// An event may unload the form and so delete this peer: after Deliver, only locals are touched.
LRESULT FormPeer::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  ui::Form& form = FormModel();
  LRESULT result = 0;
  if (WindowPeer::DecodeChildMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_COMMAND:
      // A menu choice (a pop-up menu's posted one included), or a shortcut from the
      // accelerator table; controls' notifications were decoded above.
      if (lParam == 0) {
        bool shortcut = HIWORD(wParam) == 1;
        if (ui::Menu* menu = MenuById(LOWORD(wParam))) {
          backend_.Deliver([menu, shortcut] {
            if (shortcut ? menu->Reachable() : menu->Choosable()) menu->UserChoose();
          });
        }
      }
      return 0;
    case WM_CLOSE:
      backend_.Deliver([&form] { form.RequestClose(vbFormControlMenu); });
      return 0;
    case WM_QUERYENDSESSION: {
      Backend& backend = backend_;
      bool closed = false;
      backend.Deliver([&form, &closed] { closed = form.RequestClose(vbAppWindows); });
      return closed || backend.Ended() ? TRUE : FALSE;
    }
    case WM_ACTIVATE: {
      LRESULT result = DefaultProc(hwnd_, message, wParam, lParam);
      if (LOWORD(wParam) != WA_INACTIVE) {
        Runtime& runtime = backend_.GetRuntime();
        backend_.Deliver([&runtime, &form] { runtime.FormActivated(form); });
      }
      return result;
    }
    case WM_SETFOCUS:
      if (HWND target = FocusTarget()) SetFocus(target);
      return 0;
    case WM_MOUSEMOVE: {
      if (form.TrayMessage == WM_MOUSEMOVE && HIWORD(lParam) == 0)
        if (auto tray = form.TrayEvent(LOWORD(lParam))) {
          backend_.Deliver(tray);
          return 0;
        }
      int button = (wParam & MK_LBUTTON ? 1 : 0) | (wParam & MK_RBUTTON ? 2 : 0) | (wParam & MK_MBUTTON ? 4 : 0);
      int shift = (wParam & MK_SHIFT ? 1 : 0) | (wParam & MK_CONTROL ? 2 : 0);
      float x = static_cast<float>(backend_.ToTwips(static_cast<short>(LOWORD(lParam)), Dpi()));
      float y = static_cast<float>(backend_.ToTwips(static_cast<short>(HIWORD(lParam)), Dpi()));
      backend_.Deliver([&form, button, shift, x, y] { form.MouseMove(button, shift, x, y); });
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT area;
      GetClientRect(hwnd_, &area);
      FillRect(reinterpret_cast<HDC>(wParam), &area, backend_.BrushFor(form.BackColor));
      return 1;
    }
    case WM_COPYDATA: {
      const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (!copy || copy->cbData > kLongestCopyData || (copy->cbData && !copy->lpData)) return 0;
      CopyDataMessage data{copy->dwData, std::string(static_cast<const char*>(copy->lpData), copy->cbData), "", 0};
      Backend& backend = backend_;
      backend.Deliver([&form, &data] { form.CopyData(data); });
      // The text goes back to the sender's window while the sender still waits for the answer.
      HWND sender = reinterpret_cast<HWND>(wParam);
      if (!data.reply.empty() && sender && IsWindow(sender)) {
        COPYDATASTRUCT reply{0, static_cast<DWORD>(data.reply.size()), data.reply.data()};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(sender, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&reply), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                            2000, &ignored);
      }
      return data.answer;
    }
    case kDpiChanged:
      MoveToDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_POWERBROADCAST: {
      const int event = static_cast<int>(wParam);
      backend_.Deliver([&form, event] { form.PowerBroadcast(event); });
      return TRUE;
    }
    case WM_SIZE:
      for (Control* control : form.AllControls())
        if (control->Kind() == ControlKind::StatusBar && control->GetPeer())
          SendMessageA(reinterpret_cast<HWND>(control->hWnd()), WM_SIZE, 0, 0);
      return 0;
    default:
      if (form.TrayMessage != 0 && message == form.TrayMessage) {
        if (auto tray = form.TrayEvent(static_cast<std::uint32_t>(lParam))) backend_.Deliver(tray);
        return 0;
      }
      if (auto it = registered_.find(message); it != registered_.end()) {
        std::string name = it->second;
        backend_.Deliver([&form, name] { form.RegisteredMessage(name); });
        return 0;
      }
      return DefaultProc(hwnd_, message, wParam, lParam);
  }
}

void FormPeer::MoveToDpi(int dpi, const RECT* area) {
  ui::Form& form = FormModel();
  HWND hwnd = hwnd_;
  Backend& backend = backend_;
  backend.Deliver([&form, dpi] { form.SetDpi(dpi); });
  if (Backend::PeerOf(hwnd) != this) return;  // unloaded by what the change raised
  for (Control* control : form.AllControls())
    if (auto* peer = dynamic_cast<WindowPeer*>(control->GetPeer()); peer && peer->Window()) peer->Rescale();
  Apply(Prop::Picture);
  if (area)
    SetWindowPos(hwnd_, nullptr, area->left, area->top, area->right - area->left, area->bottom - area->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  else
    Place();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// ---------------------------------------------------------------- MenuPeer

MenuPeer::MenuPeer(Backend& backend, ui::Menu& menu) : menu_(menu), id_(backend.NextMenuId()) {
  if (FormPeer* form = Form()) form->AddMenu(this);
}

MenuPeer::~MenuPeer() {
  if (FormPeer* form = Form()) form->RemoveMenu(this);
  if (popup_) DestroyMenu(popup_);
}

FormPeer* MenuPeer::Form() const { return dynamic_cast<FormPeer*>(menu_.OwnerForm().GetPeer()); }

HMENU MenuPeer::Popup() {
  if (!popup_) popup_ = CreatePopupMenu();
  return popup_;
}

void MenuPeer::Update(Prop) {
  if (FormPeer* form = Form()) form->RebuildMenus();
}

}  // namespace ui::win32
