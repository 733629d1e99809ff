// Popup menus built from MenuItem components. Each item owns, from its construction, the
// menu handle that lists its sub-items, and every change of an item (caption, default,
// checked, enabled, sub-items) is written into the live handle at once, so a menu that is
// open follows changes made by timers while it is shown.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "wingui/Component.h"
#include "wingui/Handles.h"

namespace wingui {

class MenuItem : public Component {
 public:
  explicit MenuItem(Component* owner, const std::string& caption = "");
  ~MenuItem() override;

  // "&" marks the accelerator letter, "&&" shows one ampersand, "-" makes a separator.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool IsSeparator() const { return caption_ == "-"; }

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);

  std::function<void()> OnClick;
  // Runs OnClick as a command (Commands.h): its errors go to the error box, and nothing
  // happens while another command runs.
  void Click();
  // Writes every sub-item's entry anew (at any depth), so the menu shows the current state.
  void RefreshEntries();

  // Appends a sub-item; an item already in another menu is moved.
  void Add(MenuItem* item);
  void Remove(MenuItem* item);
  int Count() const { return static_cast<int>(items_.size()); }
  MenuItem* Item(int index) const;
  MenuItem* Parent() const { return parent_; }
  int IndexOf(const MenuItem* item) const;

  // The menu listing the sub-items.
  HMENU Handle() const { return menu_.get(); }
  // Command identifier of this item inside the menu, unique in the process.
  UINT Command() const { return command_; }
  // This item or a sub-item (at any depth) with the given command, or nullptr.
  MenuItem* Find(UINT command);

 private:
  void UpdateEntry();
  void InsertEntry(int index);

  std::string caption_;
  bool default_ = false;
  bool enabled_ = true;
  bool checked_ = false;
  UINT command_;
  MenuItem* parent_ = nullptr;
  std::vector<MenuItem*> items_;
  UniqueHmenu menu_;
};

class PopupMenu : public Component {
 public:
  explicit PopupMenu(Component* owner);

  // The invisible root item whose sub-items are the menu's items.
  MenuItem& Items() { return items_; }
  HMENU Handle() const { return items_.Handle(); }

  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }

  // The component that opened the menu last (a tray icon records itself before it shows the
  // menu), so the popup event and the items' handlers of a menu shared by several can tell
  // which one it was. Forgotten when that component is destroyed.
  Component* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(Component* component) { popupComponent_ = component; }

  std::function<void()> OnPopup;

  // Raises OnPopup, shows the menu at the screen point and returns when it closes; then
  // runs the chosen item's Click. Owner of the menu is `window`, or else this thread's
  // foreground window, or else the application window.
  void Popup(int x, int y, HWND window = nullptr);

  void Notification(Component* component, Operation operation) override;

 private:
  MenuItem items_;
  bool autoPopup_ = true;
  Component* popupComponent_ = nullptr;
};

}  // namespace wingui
