#include "app/controller_list_view.h"

#include <windows.h>
#include <commctrl.h>

namespace lumaro {

void ControllerListView::InsertColumn(int index, const std::wstring& heading, int width) const {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<LPWSTR>(heading.c_str());
    SendMessageW(control_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
}

void ControllerListView::DeleteAllRows() const { SendMessageW(control_, LVM_DELETEALLITEMS, 0, 0); }

int ControllerListView::InsertRow(int index, const std::wstring& text) const {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text.c_str());
    return static_cast<int>(
        SendMessageW(control_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ControllerListView::SetCellText(int row, int column, const std::wstring& text) const {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<LPWSTR>(text.c_str());
    SendMessageW(control_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

int ControllerListView::RowCount() const {
    return static_cast<int>(SendMessageW(control_, LVM_GETITEMCOUNT, 0, 0));
}

int ControllerListView::SelectedCount() const {
    return static_cast<int>(SendMessageW(control_, LVM_GETSELECTEDCOUNT, 0, 0));
}

int ControllerListView::SelectedRow() const {
    return static_cast<int>(SendMessageW(control_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         MAKELPARAM(LVNI_SELECTED, 0)));
}

void ControllerListView::SelectRow(int row) const {
    LVITEMW item{};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(control_, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(row));
}

}  // namespace lumaro
