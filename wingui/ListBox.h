// The list box control: single selection, items in insertion order, item height 13
// (designed).
//
// A long list is filled in slices: SetItems adds the first kImmediateRows rows at once (more
// than a list box ever shows) and the rest in small slices from a timer, whose ticks come
// after input and painting, so the window shows and answers at once however long the list.
// What reads the list answers from the rows still waiting as well, so readers always see all
// rows without doing the fill's work; what changes the list first completes the fill, so the
// order always holds.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "wingui/Timer.h"
#include "wingui/WinControl.h"

namespace wingui {

class ListBox : public WinControl {
 public:
  static constexpr size_t kImmediateRows = 1000;

  explicit ListBox(Component* owner, WinControl* parent = nullptr);

  int Count() const;
  int Add(const std::string& text);
  void Delete(int index);
  void Clear();
  std::string Item(int index) const;
  std::vector<std::string> Items() const;
  void SetItems(const std::vector<std::string>& items);
  // -1 when nothing is selected.
  int ItemIndex() const;
  void SetItemIndex(int index);
  // True while rows of the last SetItems are still waiting to be added.
  bool Filling() const { return nextRow_ < rowStarts_.size(); }

  std::function<void()> OnChange;

 protected:
  void Command(WORD code) override;
  void ApplyDpi() override;

 private:
  void ApplyItemHeight();
  // Rows the list box itself holds (the rest are waiting).
  int RowsShown() const;
  // Adds waiting rows, up to `limit` of them, with drawing off while it does.
  void AddWaitingRows(size_t limit);
  void CompleteFill();
  void DropWaitingRows();

  // The rows of the last SetItems as wide text, each ended by a zero, and where each begins.
  std::wstring rows_;
  std::vector<size_t> rowStarts_;
  size_t nextRow_ = 0;
  Timer fill_{nullptr};
};

}  // namespace wingui
