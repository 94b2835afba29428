#include "tools/window-reader/list_view_driver.h"

#include <commctrl.h>

#include "tools/window-reader/remote_buffer.h"
#include "tools/window-reader/send_patiently.h"

namespace lumaro::apptest {

namespace {

constexpr int kTextCharacters = 260;

}  // namespace

int ListViewDriver::ClientWidth() const {
    RECT client{};
    GetClientRect(list_, &client);
    return client.right - client.left;
}

int ListViewDriver::ColumnCount() const {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

int ListViewDriver::ColumnWidth(int column) const {
    return static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0));
}

std::wstring ListViewDriver::ColumnHeading(int column) const {
    const RemoteBuffer remote(process_, sizeof(LVCOLUMNW) + kTextCharacters * sizeof(wchar_t));
    LVCOLUMNW request{};
    request.mask = LVCF_TEXT;
    request.pszText = reinterpret_cast<LPWSTR>(remote.Address() + sizeof(LVCOLUMNW));
    request.cchTextMax = kTextCharacters;
    remote.Store(0, request);
    if (!SendMessageW(list_, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(remote.Address()))) {
        return L"<no column>";
    }
    wchar_t text[kTextCharacters] = {};
    remote.Read(sizeof(LVCOLUMNW), text, sizeof text);
    text[kTextCharacters - 1] = L'\0';
    return text;
}

int ListViewDriver::RowCount() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ListViewDriver::CellText(int row, int column) const {
    const RemoteBuffer remote(process_, sizeof(LVITEMW) + kTextCharacters * sizeof(wchar_t));
    LVITEMW request{};
    request.iSubItem = column;
    request.pszText = reinterpret_cast<LPWSTR>(remote.Address() + sizeof(LVITEMW));
    request.cchTextMax = kTextCharacters;
    remote.Store(0, request);
    const auto length = SendMessageW(list_, LVM_GETITEMTEXTW, row,
                                      reinterpret_cast<LPARAM>(remote.Address()));
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    remote.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t));
    return text;
}

std::vector<std::wstring> ListViewDriver::RowTexts(int row) const {
    std::vector<std::wstring> texts;
    for (int column = 0; column < ColumnCount(); ++column) texts.push_back(CellText(row, column));
    return texts;
}

std::vector<int> ListViewDriver::SelectedRows() const {
    std::vector<int> rows;
    int row = -1;
    for (;;) {
        row = static_cast<int>(
            SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0) return rows;
        rows.push_back(row);
    }
}

RECT ListViewDriver::RowRect(int row) const {
    const RemoteBuffer remote(process_, sizeof(RECT));
    RECT request{};
    request.left = LVIR_LABEL;  // the first column's text: a point a user would click
    remote.Store(0, request);
    SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.Address()));
    return remote.Load<RECT>(0);
}

void ListViewDriver::ClickRow(int row) const {
    const RECT rect = RowRect(row);
    ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void ListViewDriver::ClickBelowRows() const {
    RECT client{};
    GetClientRect(list_, &client);
    const int count = RowCount();
    const LONG lastBottom = count > 0 ? RowRect(count - 1).bottom : client.top;
    ClickAt({10, (lastBottom + client.bottom) / 2});
}

void ListViewDriver::SelectRowByMessage(int row) const {
    const RemoteBuffer remote(process_, sizeof(LVITEMW));
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Store(0, state);
    SendPatiently(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                  reinterpret_cast<LPARAM>(remote.Address()));
}

void ListViewDriver::ClickAt(POINT point) const {
    // Sent, not posted: each returns once the list has handled it, and the release is
    // where the list sends its click notification to the dialog.
    const LPARAM position = MAKELPARAM(point.x, point.y);
    SendPatiently(list_, WM_LBUTTONDOWN, MK_LBUTTON, position);
    SendPatiently(list_, WM_LBUTTONUP, 0, position);
}

}  // namespace lumaro::apptest
