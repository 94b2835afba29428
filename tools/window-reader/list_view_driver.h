#pragma once
// Reads and clicks another program's report-view list control from outside, as a user
// would see and use it.

#include <windows.h>

#include <string>
#include <vector>

namespace lumaro::apptest {

class ListViewDriver {
public:
    ListViewDriver(HWND list, HANDLE process) : list_(list), process_(process) {}

    int ClientWidth() const;
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    std::wstring ColumnHeading(int column) const;

    int RowCount() const;
    std::wstring CellText(int row, int column) const;
    std::vector<std::wstring> RowTexts(int row) const;  // every column of the row
    std::vector<int> SelectedRows() const;
    RECT RowRect(int row) const;  // in the list's client coordinates

    // Presses and releases the left mouse button over the row's first column, so that the
    // list selects it and notifies its parent of the click. Returns when both mouse
    // messages have been handled.
    void ClickRow(int row) const;
    // The same below the last row, where no row is.
    void ClickBelowRows() const;
    // Selects the row (and only it) by a message, as an automation tool does from another
    // thread; returns when the list has handled it (and told its parent).
    void SelectRowByMessage(int row) const;

private:
    void ClickAt(POINT point) const;

    HWND list_;
    HANDLE process_;
};

}  // namespace lumaro::apptest
