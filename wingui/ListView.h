// A list of rows with columns (the system's list-view control in its report view): whole rows
// are selected, any number of them. Rows carry a key of the caller's; when the rows are set
// anew, the rows whose keys were selected stay selected, and rows equal to those shown change
// nothing, so a list that refreshes itself often neither flickers nor takes the player's
// choice away.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "wingui/WinControl.h"

namespace wingui {

class ListView : public WinControl {
 public:
  struct Column {
    std::string title;
    int width;  // designed pixels (96 dpi)
  };
  struct Row {
    std::string key;
    std::vector<std::string> cells;  // one text per column
    bool operator==(const Row&) const = default;
  };

  ListView(Component* owner, const std::vector<Column>& columns, WinControl* parent = nullptr);

  void SetRows(const std::vector<Row>& rows);
  int Count() const;
  // The key the row was set with.
  const std::string& Key(int row) const;
  // The texts of a row as the control holds them.
  std::vector<std::string> Cells(int row) const;
  // Indexes of the selected rows, in order.
  std::vector<int> SelectedRows() const;
  void SetSelected(int row, bool selected);

 protected:
  // The columns take their designed widths at the new dpi.
  void ApplyDpi() override;

 private:
  std::vector<int> widths_;
  int columns_;
  std::vector<Row> rows_;  // as shown
};

}  // namespace wingui
