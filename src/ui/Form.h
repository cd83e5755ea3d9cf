// A top-level window: its controls, its menus, its life cycle, how it is shown, and the close
// request.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

class CommandButton;
class Menu;

enum class StartUpPosition { Manual, CenterOwner, CenterScreen };

class Form : public Container {
 public:
  Form(Runtime& runtime, std::string name);
  ~Form() override;
  ControlKind Kind() const override { return ControlKind::Form; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::string& Icon() const { return icon_; }  // resource name of the window icon
  void SetIcon(const std::string& resourceName);
  Color BackColor = kSystemButtonFace;

  // The window's kind, read when the form loads.
  ui::BorderStyle BorderStyle = ui::BorderStyle::Sizable;
  bool ControlBox = true;     // the system menu and the close box
  bool MinButton = true;
  bool MaxButton = true;
  bool ShowInTaskbar = true;
  ui::StartUpPosition StartUpPosition = ui::StartUpPosition::CenterScreen;
  // Keys reach the form's KeyDown before the control that has the focus.
  bool KeyPreview = false;

  // Width and Height are the window's outer size; the client area is what lies inside the
  // frame, the caption and the menu bar.
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientSize(int width, int height);

  // Life cycle. Initialize raises Initialize; Load creates the window and its controls and
  // raises Load; Show loads if needed and shows the window, which raises Activate.
  void Initialize();
  void Load();
  // Modeless: returns at once. Modal: the other forms take no input until this one has been
  // hidden or unloaded, and only then does Show return. The owner stays below the form, and
  // a form that starts centred on its owner is centred over it. Showing a form modally that
  // is already shown is a run-time error.
  void Show(FormShowMode mode = vbModeless, Form* owner = nullptr);
  void Hide();
  void SetVisible(bool visible) override;
  bool IsLoaded() const { return loaded_; }
  bool IsModal() const { return modal_; }
  Form* Owner() const { return owner_; }

  // A close request: QueryUnload(cancel, mode), then, unless cancelled, Unload and the window
  // goes away. Returns true when the form was unloaded. A request made while another one is
  // still being decided is refused.
  bool RequestClose(UnloadMode mode);
  // The close that ends the program: a close request that is heard even while another one is
  // still being decided. That one then finds the form gone, and a question it still has open
  // is closed as declined when the program ends.
  bool CloseEvenWhileDeciding(UnloadMode mode);
  // Unload from code (mode 1).
  bool Unload() { return RequestClose(vbFormCode); }

  // Opens a menu of this form at the pointer. The item the user chooses raises its Click
  // after this call has returned, as a new event.
  void PopupMenu(Menu& menu);
  // Puts the window as it now stands on the screen at once, for code that keeps the program
  // from taking input for a while right after changing it.
  void Refresh() {
    if (Peer* peer = GetPeer()) peer->Refresh();
  }

  Event<> InitializeEvent;
  Event<> LoadEvent;
  Event<> Activate;
  Event<int&, int> QueryUnload;   // cancel, mode
  Event<int&> UnloadEvent;        // cancel
  Event<int&, int> KeyDown;       // key code, shift state; with KeyPreview, before the control
  Event<int, int, float, float> MouseMove;  // button, shift, x and y in twips

  // The window message the form's notification-area icon reports its mouse events with (0:
  // the form has no icon). They arrive as TrayMouse, whether the form is shown or hidden; where
  // that message is the mouse move's own, the icon's events are told from the pointer's moves
  // by the event's number standing where the pointer's x would, at y 0.
  std::uint32_t TrayMessage = 0;
  Event<const TrayMouseEvent&> TrayMouse;
  // A balloon over the form's icon went or was clicked; it arrives the same way.
  Event<TrayBalloonEvent> TrayBalloon;
  // What an event the icon reports by this number raises (TrayMouse or TrayBalloon), for the
  // backend to deliver; empty for a number that is neither.
  std::function<void()> TrayEvent(std::uint32_t number);

  // The class of the form's window, by which other programs find it ("": the backend's own,
  // which every form shares); set before the form loads.
  std::string WindowClass;
  // Data another program sends to the window. The handler answers while the sender waits; any
  // program of the session may send, so the handler checks what it gets.
  Event<CopyDataMessage&> CopyData;

  // Messages other programs send to every top-level window by name, such as "TaskbarCreated",
  // which Explorer sends when it starts: the names listed here (set before the form loads)
  // reach the form as RegisteredMessage(name), whether it is shown or hidden.
  std::vector<std::string> RegisteredMessages;
  Event<const std::string&> RegisteredMessage;

  // What Windows tells every top-level window of the computer's power (the event's number:
  // suspending, resumed), whether the form is shown or hidden.
  Event<int> PowerBroadcast;

  // The dots per inch of the monitor the window is on (96 until a backend says otherwise).
  // The layout is in twips and stays; what the window shows in pixels follows the DPI.
  int Dpi() const { return dpi_; }
  // Raised after the form's DPI has changed (the window moved to a monitor of another DPI,
  // or was made on one): its AutoSize labels have been measured again by then, and a form
  // that fits itself to its texts does so again here.
  Event<int> DpiChanged;

  // Every control on the form, in creation order, and the menus of its menu bar.
  const std::vector<Control*>& AllControls() const { return all_; }
  const std::vector<Menu*>& Menus() const { return menus_; }
  Control* ActiveControl() const { return active_; }
  // The buttons that Enter and Esc press, or nullptr.
  CommandButton* DefaultButton() const;
  CommandButton* CancelButton() const;
  // The control Tab (or Shift+Tab when `forward` is false) moves the focus to from `from`: the
  // next one in creation order that can take the focus, wrapping round. Of an option group
  // only the selected button is a stop (the first one while none is selected). nullptr when
  // nothing can take the focus.
  Control* NextTabStop(Control* from, bool forward) const;

  // ---- reported by the backends

  // The window is on a monitor of this DPI.
  void SetDpi(int dpi);
  // The input focus has moved (nullptr: it left the form).
  void FocusMoved(Control* now);
  // A key went down while the form is the active window. With KeyPreview, KeyDown sees it
  // first and may discard it (key code 0). Then the keys with a meaning of their own: Enter
  // presses the focused command button, or else the Default button; Esc presses the Cancel
  // button; Tab and Shift+Tab move the focus; an arrow key on an option button moves the
  // selection in its group. Returns true when the key was used up here, false when the
  // focused control should still get it.
  bool UserKeyDown(int keyCode, int shift);
  // Finds the reachable menu item that owns a shortcut.
  Menu* MenuForShortcut(const Shortcut& shortcut) const;
  // The text box that has the focus takes the clipboard's keys (Ctrl+A, C, V, X, Z) before any
  // menu shortcut of the same keys: they edit the text, as in every Windows program.
  bool FocusTakesShortcut(const Shortcut& shortcut) const;

 private:
  friend class Control;
  friend class Menu;
  void EndModal();
  void Unloaded();
  bool Close(UnloadMode mode);
  std::string caption_;
  std::string icon_;
  bool loaded_ = false;
  bool closing_ = false;
  bool modal_ = false;
  Form* owner_ = nullptr;
  std::vector<Control*> all_;
  std::vector<Menu*> menus_;
  Control* active_ = nullptr;
  int dpi_ = kDefaultDpi;
};

}  // namespace ui
