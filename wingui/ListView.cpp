// The report-view list: columns scaled to the window's dpi, rows set anew by key so that
// unchanged rows stay and selected keys stay selected, and readers of cells and selection.
#include "wingui/ListView.h"

#include <commctrl.h>

#include <algorithm>

#include "launch/Errors.h"
#include "wingui/Dpi.h"
#include "wingui/ListIndex.h"

namespace wingui {

ListView::ListView(Component* owner, const std::vector<Column>& columns, WinControl* parent)
    : WinControl(owner, ParentWindow(owner, parent)), columns_(static_cast<int>(columns.size())) {
  for (const Column& column : columns) widths_.push_back(column.width);
  CreateHandle({.className = WC_LISTVIEWA,
                .style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                .exStyle = WS_EX_CLIENTEDGE});
  HWND hwnd = Handle();
  SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < columns_; ++i) {
    std::string title = columns[i].title;
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = title.data();
    column.cx = Scale(columns[i].width, Dpi());
    column.iSubItem = i;
    if (SendMessageA(hwnd, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column)) < 0) {
      throw launch::Error("Cannot add the column " + title);
    }
  }
}

void ListView::ApplyDpi() {
  WinControl::ApplyDpi();
  for (int i = 0; i < columns_; ++i) {
    SendMessageA(Handle(), LVM_SETCOLUMNWIDTH, i, Scale(widths_[static_cast<size_t>(i)], Dpi()));
  }
}

void ListView::SetRows(const std::vector<Row>& rows) {
  if (rows == rows_) return;
  HWND hwnd = Handle();
  std::vector<std::string> selected;
  for (int row : SelectedRows()) selected.push_back(rows_[static_cast<size_t>(row)].key);
  // One repaint for the whole change, not one per row.
  SendMessageA(hwnd, WM_SETREDRAW, FALSE, 0);
  SendMessageA(hwnd, LVM_DELETEALLITEMS, 0, 0);
  rows_.clear();
  for (const Row& row : rows) {
    const int index = static_cast<int>(rows_.size());
    for (int column = 0; column < columns_; ++column) {
      std::string text = column < static_cast<int>(row.cells.size()) ? row.cells[column] : "";
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = index;
      item.iSubItem = column;
      item.pszText = text.data();
      const LRESULT done =
          column == 0 ? SendMessageA(hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item))
                      : SendMessageA(hwnd, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
      if (column == 0 && done < 0) {
        SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
        throw launch::Error("Cannot add the row to the list");
      }
    }
    rows_.push_back(row);
    if (std::find(selected.begin(), selected.end(), row.key) != selected.end()) {
      SetSelected(index, true);
    }
  }
  SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
}

const std::string& ListView::Key(int row) const {
  CheckIndex(row, static_cast<int>(rows_.size()));
  return rows_[static_cast<size_t>(row)].key;
}

int ListView::Count() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::string> ListView::Cells(int row) const {
  CheckIndex(row, Count());
  std::vector<std::string> cells;
  for (int column = 0; column < columns_; ++column) {
    char text[256] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(Handle(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    cells.emplace_back(text);
  }
  return cells;
}

std::vector<int> ListView::SelectedRows() const {
  std::vector<int> rows;
  for (int row = -1;;) {
    row = static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, row, LVNI_SELECTED));
    if (row < 0) return rows;
    rows.push_back(row);
  }
}

void ListView::SetSelected(int row, bool selected) {
  CheckIndex(row, Count());
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SendMessageA(Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace wingui
