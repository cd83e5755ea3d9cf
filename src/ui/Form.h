// A top-level window: its controls, its menus, its life cycle and the close request.
#pragma once

#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

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
  bool KeyPreview = false;
  ui::StartUpPosition StartUpPosition = ui::StartUpPosition::CenterScreen;
  Color BackColor = kSystemButtonFace;

  // Life cycle. Initialize raises Initialize; Load creates the window and its controls and
  // raises Load; Show loads if needed, shows the window and raises Activate.
  void Initialize();
  void Load();
  void Show();
  void Hide();
  void SetVisible(bool visible) override;
  bool IsLoaded() const { return loaded_; }

  // A close request: QueryUnload(cancel, mode), then, unless cancelled, Unload and the window
  // goes away. Returns true when the form was unloaded. A request made while another one is
  // still being decided is refused.
  bool RequestClose(UnloadMode mode);
  // Unload from code (mode 1).
  bool Unload() { return RequestClose(vbFormCode); }

  // Opens a menu of this form at the pointer.
  void PopupMenu(Menu& menu);

  Event<> InitializeEvent;
  Event<> LoadEvent;
  Event<> Activate;
  Event<int&, int> QueryUnload;   // cancel, mode
  Event<int&> UnloadEvent;        // cancel
  Event<int&, int> KeyDown;       // key code, shift state; with KeyPreview, before the control
  Event<int, int, float, float> MouseMove;  // button, shift, x and y in twips

  // Every control on the form, in creation order, and the menus of its menu bar.
  const std::vector<Control*>& AllControls() const { return all_; }
  const std::vector<Menu*>& Menus() const { return menus_; }
  Control* ActiveControl() const { return active_; }

  // Reported by the backend when the input focus has moved (nullptr: left the form).
  void FocusMoved(Control* now);
  // Reported by the backend for a key going down anywhere in the form; returns false when a
  // KeyDown handler discarded the key.
  bool PreviewKeyDown(int keyCode, int shift);
  // Finds the reachable menu item that owns a shortcut.
  Menu* MenuForShortcut(const Shortcut& shortcut) const;

 private:
  friend class Control;
  friend class Menu;
  std::string caption_;
  std::string icon_;
  bool loaded_ = false;
  bool closing_ = false;
  std::vector<Control*> all_;
  std::vector<Menu*> menus_;
  Control* active_ = nullptr;
};

}  // namespace ui
