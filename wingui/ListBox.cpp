// The list box: its rows through the wide messages, and the fill of a long list in slices.
#include "wingui/ListBox.h"

#include "launch/Errors.h"
#include "wingui/ExceptionBoundary.h"
#include "wingui/ListIndex.h"
#include "wingui/TextConversion.h"

namespace wingui {
namespace {

// A slice of the fill: a few milliseconds of work between other messages, as often as the
// system's timers allow.
constexpr size_t kSliceRows = 2000;
constexpr int kItemHeight = 13;

}  // namespace

ListBox::ListBox(Component* owner, WinControl* parent)
    : WinControl(owner, ParentWindow(owner, parent)) {
  CreateHandle({.className = "LISTBOX",
                .style = kChildStyle | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                .exStyle = WS_EX_CLIENTEDGE});
  ApplyItemHeight();
  fill_.SetEnabled(false);
  fill_.SetInterval(USER_TIMER_MINIMUM);
  fill_.OnTimer = [this] { AddWaitingRows(kSliceRows); };
}

void ListBox::ApplyItemHeight() {
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, Scale(kItemHeight, Dpi()));
}

void ListBox::ApplyDpi() {
  WinControl::ApplyDpi();
  // After the font: a new font sets the list box's own item height.
  ApplyItemHeight();
}

int ListBox::RowsShown() const { return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)); }

int ListBox::Count() const {
  return RowsShown() + static_cast<int>(rowStarts_.size() - nextRow_);
}

int ListBox::Add(const std::string& text) {
  CompleteFill();
  const LRESULT index =
      SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (index < 0) throw launch::Error("Cannot add the item to the list");
  return static_cast<int>(index);
}

void ListBox::Delete(int index) {
  if (index == -1) return;
  CheckIndex(index, Count());
  CompleteFill();
  SendMessageA(Handle(), LB_DELETESTRING, index, 0);
}

void ListBox::Clear() {
  DropWaitingRows();
  SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

std::string ListBox::Item(int index) const {
  CheckIndex(index, Count());
  const int shown = RowsShown();
  if (index >= shown) {
    // Still waiting: the row as it will be added.
    return AnsiFromWide(
        std::wstring(rows_.c_str() + rowStarts_[nextRow_ + static_cast<size_t>(index - shown)]));
  }
  // Read through the wide messages and convert: Wine's version-6 list box answers the ANSI
  // LB_GETTEXT of a row longer than a few hundred characters with a stack overrun.
  HWND hwnd = Handle();
  const LRESULT length = SendMessageW(hwnd, LB_GETTEXTLEN, index, 0);
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return AnsiFromWide(wide);
}

std::vector<std::string> ListBox::Items() const {
  std::vector<std::string> items;
  for (int i = 0, n = Count(); i < n; ++i) items.push_back(Item(i));
  return items;
}

void ListBox::SetItems(const std::vector<std::string>& items) {
  Clear();
  // The rows as one block of wide text: one allocation, and the list box's own wide
  // procedure takes them as they are.
  size_t characters = 0;
  for (const std::string& item : items) characters += item.size() + 1;
  rows_.reserve(characters);
  rowStarts_.reserve(items.size());
  for (const std::string& item : items) {
    rowStarts_.push_back(rows_.size());
    AppendWideFromAnsi(rows_, item);
    rows_ += L'\0';
  }
  SendMessageW(Handle(), LB_INITSTORAGE, items.size(), characters * sizeof(wchar_t));
  AddWaitingRows(kImmediateRows);
  // Without a timer the rest is added now: slower to show, but nothing is lost.
  if (Filling() && !fill_.TryEnable()) CompleteFill();
}

void ListBox::AddWaitingRows(size_t limit) {
  HWND hwnd = Handle();
  // A list box that shows itself draws and updates its scroll bar after each row added,
  // which makes 100,000 rows take seconds; drawing stays off until the slice is in. (Only
  // for a shown list box: turning drawing back on shows the window.)
  const bool shown = Visible();
  if (shown) SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
  bool added = true;
  for (size_t n = 0; n < limit && Filling(); ++n) {
    const wchar_t* row = rows_.c_str() + rowStarts_[nextRow_++];
    // Straight to the list box's own procedure: rows need nothing of ours on the way.
    if (DefaultMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row)) < 0) {
      added = false;
      break;
    }
  }
  if (shown) {
    SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
  }
  if (!Filling() || !added) DropWaitingRows();
  if (!added) throw launch::Error("Cannot add the item to the list");
}

void ListBox::CompleteFill() {
  if (Filling()) AddWaitingRows(rowStarts_.size());
}

void ListBox::DropWaitingRows() {
  fill_.SetEnabled(false);
  rows_ = std::wstring();
  rowStarts_ = std::vector<size_t>();
  nextRow_ = 0;
}

int ListBox::ItemIndex() const {
  return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void ListBox::SetItemIndex(int index) {
  if (index != -1) CheckIndex(index, Count());
  CompleteFill();
  SendMessageA(Handle(), LB_SETCURSEL, index, 0);
}

void ListBox::Command(WORD code) {
  if (code == LBN_SELCHANGE) Raise(OnChange);
}

}  // namespace wingui
