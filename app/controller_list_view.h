#pragma once
// The controller list: a report-view list control holding text only. Row k shows record k
// of the controller table; rows carry no item data of their own.

#include <windows.h>

#include <string>

namespace lumaro {

class ControllerListView {
public:
    ControllerListView() = default;
    explicit ControllerListView(HWND control) : control_(control) {}

    HWND Handle() const { return control_; }

    void InsertColumn(int index, const std::wstring& heading, int width) const;
    void DeleteAllRows() const;
    // Inserts a row with the text of its first column; gives the index the list reports.
    int InsertRow(int index, const std::wstring& text) const;
    void SetCellText(int row, int column, const std::wstring& text) const;

    int RowCount() const;
    int SelectedCount() const;
    int SelectedRow() const;  // the first selected row, -1 for none
    // Selects and focuses the row and makes it the selection mark.
    void SelectRow(int row) const;

private:
    HWND control_ = nullptr;
};

}  // namespace lumaro
