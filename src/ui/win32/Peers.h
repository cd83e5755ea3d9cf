// The native peers: each owns one window (or, for a timer, one system timer) and keeps it in
// step with its model object. Notifications that Windows sends to a container are decoded once
// and handed to the child's peer; nothing above this layer sees a WPARAM.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "ui/win32/Backend.h"

namespace ui::win32 {

// A text as the native controls show it: a lone carriage return becomes CR LF.
std::string DisplayText(const std::string& text);

struct WindowStyles {
  DWORD style;
  DWORD exStyle;
};
// The frame, caption buttons and taskbar presence a form asks for.
WindowStyles FormStyles(const ui::Form& form);

class FormPeer;

class WindowPeer : public Peer {
 public:
  WindowPeer(Backend& backend, Control& control);
  ~WindowPeer() override;

  HWND Window() const { return hwnd_; }
  Control& Model() const { return control_; }
  FormPeer* Form() const;

  // Applies a change to the window, or makes the window when the change brings the control
  // into sight.
  void Update(Prop what) final;
  void Focus() override;
  std::uintptr_t NativeHandle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_); }

  // The form's DPI has changed: the control takes the font and the place it has there.
  virtual void Rescale() {
    Apply(Prop::Font);
    Apply(Prop::Geometry);
  }

  // Decoded notifications from the parent window.
  virtual void OnCommand(WORD /*code*/) {}
  virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }
  virtual void OnScroll(WORD /*code*/) {}
  virtual HBRUSH OnColor(HDC dc);
  // Messages to the control itself; return true when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // The window takes input exactly while the user can reach its control: a control inside a
  // disabled container is drawn disabled too, and one out of view is never reached by Tab,
  // arrow keys or access keys. Brings this window and those of its children up to date.
  void RefreshEnabled();
  bool ShouldBeEnabled() const;

  // The DPI of the control's window (its form's), and twips there as pixels.
  int Dpi() const { return control_.OwnerForm().Dpi(); }
  int Px(int twips) const { return backend_.ToPixels(twips, Dpi()); }
  // The control's font for the text it shows now.
  HFONT ControlFont() const { return backend_.FontFor(control_.GetFont(), Dpi(), Backend::BeyondCodePage(ShownText())); }
  // The text the control shows, which its font must hold ("": none of the user's).
  virtual std::string ShownText() const { return {}; }
  // Gives the window the font for its text now, when that is another one.
  void RefreshFont();

  static WindowPeer* FromWindow(HWND hwnd);
  // Decodes WM_COMMAND, WM_NOTIFY, WM_VSCROLL and WM_CTLCOLOR* sent to a container.
  static bool DecodeChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  void Create(const char* windowClass, DWORD style, DWORD exStyle, const std::string& text);
  // A control's peer calls this at the end of its constructor: the window is made now if the
  // control can be seen, else when it first can.
  void MakeWhenSeen();
  // Makes the control's window (through Create) and gives it the model's state.
  virtual void Make() {}
  // A change to a control whose window is not made yet.
  virtual void Unseen(Prop /*what*/) {}
  virtual void Apply(Prop what);
  bool InSight() const;
  // Where the control's window stands, in its parent's pixels.
  virtual RECT Bounds() const;
  virtual void Place();
  HWND ParentWindow() const;
  // Hands the message to the control's own window procedure (kept in the backend's window
  // table until the window goes, so it serves even after the peer has gone).
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CallOriginal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  Backend& backend_;
  Control& control_;
  HWND hwnd_ = nullptr;
  // Set while the peer itself changes the native control, so its echo is not taken for input.
  bool quiet_ = false;
  // Set while the control's own procedure handles its getting the focus: an option button
  // then reports a click of its own, which is not the user's.
  bool focusing_ = false;
  // Where the window was last put.
  RECT placed_{0, 0, 0, 0};

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void MakeNow();
  void KeepOrder();
  void MakeChildrenInSight();
  static void MakeSeenChildren(Container& container);
};

class MenuPeer;

class FormPeer : public WindowPeer {
 public:
  FormPeer(Backend& backend, ui::Form& form);
  ~FormPeer() override;
  ui::Form& FormModel() const { return static_cast<ui::Form&>(control_); }

  void Apply(Prop what) override;
  void Focus() override {}
  void Refresh() override;
  std::uintptr_t PictureHandle() const override { return reinterpret_cast<std::uintptr_t>(smallIcon_); }

  HACCEL Accelerators() const { return accelerators_; }
  void SetToolTip(HWND control, const std::string& text);
  // A tip for one area of a control's window (a status bar's panel), told apart by its id.
  void SetAreaToolTip(HWND control, UINT_PTR id, const RECT& area, const std::string& text);
  void AddMenu(MenuPeer* peer);
  void RemoveMenu(MenuPeer* peer);
  void RebuildMenus();
  HMENU PopupFor(ui::Menu& menu);
  ui::Menu* MenuById(UINT id) const;
  // Draws as the default push button the one Enter would press now: the command button with
  // the focus, or else the form's Default button.
  void ShowDefaultButton();

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static FormPeer* FromTopWindow(HWND hwnd);

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // The window is now on a monitor of another DPI: the model measures its texts again, then
  // every control takes its font and place there, the icons their size, the window `area`.
  void MoveToDpi(int dpi, const RECT* area);
  void AcceptCopyData();
  static constexpr DWORD kLongestCopyData = 64 * 1024;
  HWND FocusTarget() const;
  void Place() override;
  void SetOwner();
  void FillPopup(ui::Menu& menu);
  void MakeMenus();
  // Registers a tip with the tooltip window, or keeps it until the form first shows.
  void Tip(const TOOLINFOA& info, const std::string& text);
  void MakeToolTips();

  bool shownOnce_ = false;
  bool menusStale_ = false;
  // The registered messages the form listens for, by the number Windows gave each name.
  std::map<UINT, std::string> registered_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  // Made when the form first shows: nobody can point at a control before, and under Wine the
  // tooltip window (a top-level window of its own) is a tenth of the main window's making.
  HWND toolTip_ = nullptr;
  std::vector<std::pair<TOOLINFOA, std::string>> pendingTips_;
  HMENU bar_ = nullptr;
  HACCEL accelerators_ = nullptr;
  std::vector<MenuPeer*> menus_;
};

class MenuPeer : public Peer {
 public:
  MenuPeer(Backend& backend, ui::Menu& menu);
  ~MenuPeer() override;
  void Update(Prop what) override;
  ui::Menu& Model() const { return menu_; }
  UINT Id() const { return id_; }
  HMENU Popup();  // the menu of this item's own items, made on first use

 private:
  FormPeer* Form() const;
  ui::Menu& menu_;
  UINT id_;
  HMENU popup_ = nullptr;
};

std::unique_ptr<Peer> MakeControlPeer(Backend& backend, Control& control);

}  // namespace ui::win32
