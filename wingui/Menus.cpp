// Menu items and popup menus: each change of an item is written into its live menu handle,
// a popup raises its popup event, runs the system's menu at a point and then runs the chosen
// item's click.
#include "wingui/Menus.h"

#include <algorithm>
#include <utility>

#include "launch/Errors.h"
#include "wingui/Application.h"
#include "wingui/Commands.h"
#include "wingui/ExceptionBoundary.h"
#include "wingui/ListIndex.h"
#include "wingui/SerialNumbers.h"

namespace wingui {
namespace {

// Menu commands share the 16-bit identifier space of WM_COMMAND; 0 means "nothing chosen".
SerialNumbers g_commands(1, 0xFFFF);

}  // namespace

MenuItem::MenuItem(Component* owner, const std::string& caption)
    : Component(owner),
      caption_(caption),
      command_(static_cast<UINT>(g_commands.Next())),
      menu_(CreatePopupMenu()) {
  if (!menu_) throw launch::Error("Cannot create a menu");
}

MenuItem::~MenuItem() {
  if (parent_) parent_->Remove(this);
  // Detach the sub-items first: DestroyMenu would otherwise destroy the sub-menus they own.
  while (!items_.empty()) Remove(items_.back());
}

// Each change is written into the live menu; setting what is already there writes nothing.
void MenuItem::SetCaption(const std::string& caption) {
  if (std::exchange(caption_, caption) != caption) UpdateEntry();
}

void MenuItem::SetDefault(bool value) {
  if (std::exchange(default_, value) != value) UpdateEntry();
}

void MenuItem::SetEnabled(bool value) {
  if (std::exchange(enabled_, value) != value) UpdateEntry();
}

void MenuItem::SetChecked(bool value) {
  if (std::exchange(checked_, value) != value) UpdateEntry();
}

void MenuItem::Click() {
  RunCommand(OnClick);
}

void MenuItem::Add(MenuItem* item) {
  if (!item || item == this) throw launch::Error("A menu item cannot contain itself");
  if (item->parent_) item->parent_->Remove(item);
  item->parent_ = this;
  items_.push_back(item);
  item->InsertEntry(Count() - 1);
  // Gaining the first sub-item turns this item's entry into a sub-menu.
  if (Count() == 1) UpdateEntry();
}

void MenuItem::Remove(MenuItem* item) {
  const int index = IndexOf(item);
  if (index < 0) return;
  RemoveMenu(menu_.get(), static_cast<UINT>(index), MF_BYPOSITION);
  items_.erase(items_.begin() + index);
  item->parent_ = nullptr;
  if (items_.empty()) UpdateEntry();
}

MenuItem* MenuItem::Item(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

int MenuItem::IndexOf(const MenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

MenuItem* MenuItem::Find(UINT command) {
  if (command == command_) return this;
  for (MenuItem* item : items_) {
    if (MenuItem* found = item->Find(command)) return found;
  }
  return nullptr;
}

namespace {

// Describes one entry completely, so insert and update write the same thing.
MENUITEMINFOA Describe(MenuItem& item, std::string& text, bool hasSubItems) {
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  text = item.Caption();
  mii.fType = item.IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
  // While a command runs, the items that would start another one show disabled.
  const bool enabled = item.Enabled() && !(item.OnClick && CommandRunning());
  mii.fState = (item.Default() ? MFS_DEFAULT : 0) | (enabled ? MFS_ENABLED : MFS_DISABLED) |
               (item.Checked() ? MFS_CHECKED : MFS_UNCHECKED);
  mii.wID = item.Command();
  mii.hSubMenu = hasSubItems ? item.Handle() : nullptr;
  mii.dwTypeData = text.data();
  mii.cch = static_cast<UINT>(text.size());
  return mii;
}

}  // namespace

void MenuItem::InsertEntry(int index) {
  std::string text;
  MENUITEMINFOA mii = Describe(*this, text, !items_.empty());
  InsertMenuItemA(parent_->menu_.get(), static_cast<UINT>(index), TRUE, &mii);
}

void MenuItem::RefreshEntries() {
  for (MenuItem* item : items_) {
    item->UpdateEntry();
    item->RefreshEntries();
  }
}

void MenuItem::UpdateEntry() {
  if (!parent_) return;
  const int index = parent_->IndexOf(this);
  std::string text;
  MENUITEMINFOA mii = Describe(*this, text, !items_.empty());
  // A separator keeps no text; switching back needs the string type written again, which
  // SetMenuItemInfo does with MIIM_FTYPE | MIIM_STRING together.
  SetMenuItemInfoA(parent_->menu_.get(), static_cast<UINT>(index), TRUE, &mii);
}

PopupMenu::PopupMenu(Component* owner) : Component(owner), items_(this) {}

void PopupMenu::Notification(Component* component, Operation operation) {
  Component::Notification(component, operation);
  if (operation == Operation::Remove && component == popupComponent_) popupComponent_ = nullptr;
}

void PopupMenu::Popup(int x, int y, HWND window) {
  if (OnPopup && !CallGuarded(OnPopup)) return;
  if (!window) {
    // The menu closes on a click elsewhere only when its owner is the foreground window.
    // Activating the application window passes activation on to the main form, so the
    // foreground window of this thread is the right owner; the application window when
    // another program is in front.
    HWND front = GetForegroundWindow();
    const bool ours = front && GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId();
    window = ours ? front : App().Handle();
  }
  // Enabled or not by whether a command is running now.
  items_.RefreshEntries();
  const UINT command = static_cast<UINT>(TrackPopupMenu(
      Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, window, nullptr));
  if (command == 0) return;
  if (MenuItem* chosen = items_.Find(command)) chosen->Click();
}

}  // namespace wingui
