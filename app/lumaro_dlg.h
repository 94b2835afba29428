#pragma once
// The main dialog: the controller list, the search and the selection, the command buttons
// and the (hidden) advanced panel, built from dialog template 102 and run modally.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/address_field.h"
#include "app/controller_list_view.h"
#include "link/controller_link.h"
#include "workflow/controller_dialog.h"

namespace lumaro {

class CLumaroDlg : public ControllerDialog {
public:
    CLumaroDlg(HINSTANCE instance, ControllerLink& link);
    CLumaroDlg(const CLumaroDlg&) = delete;
    CLumaroDlg& operator=(const CLumaroDlg&) = delete;

    // Runs the dialog until it ends; gives the identifier that ended it.
    INT_PTR DoModal();

    // What the procedures on the selected controller use of the dialog
    // (controller_dialog_port.cpp).
    std::optional<int> SelectedRow() const override;
    int RowCount() const override;
    int DateFormatIndex() const override;
    int WebLanguageIndex() const override;
    void ShowMessage(unsigned stringId) override;
    void ShowWaitCursor() override;
    void ShowArrowCursor() override;
    void Search() override;
    void SelectRow(int row) override;

private:
    // What decides which of the switchable controls are shown and enabled.
    struct ControlState {
        bool panelShown = false;              // the advanced panel
        bool commandButtonsEnabled = false;   // a controller was selected since the last search
        bool syncTimeButtonShown = false;     // shown by the hidden mode only
        bool disableWebButtonShown = false;   // shown by the hidden mode or F4
    };

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // One handler per message; each gives what the dialog procedure answers.
    INT_PTR OnInitDialog();
    INT_PTR OnPaint();
    INT_PTR OnQueryDragIcon() const;
    INT_PTR OnCommand(int controlId, int notification);
    INT_PTR OnNotify(const NMHDR& header);
    INT_PTR OnClose();
    INT_PTR OnKeyDown(WPARAM virtualKey);

    // One handler per button.
    void OnSearchButton();
    void OnQuickEnableButton();
    void OnApplyButton();
    void OnSyncTimeButton();
    void OnAdvancedButton();
    void OnDisableWebButton();

    // Steps of the initialisation.
    void BindControls();
    void ShowTitleWithVersion();
    int PlaceControllerList();  // gives the list's new client width
    void InsertListColumns(int clientWidth);
    void FillComboBoxes();

    // The controller list (controller_search.cpp).
    void SearchCommand();
    void ShowControllerRows();
    void SelectController();

    void SyncControlState();
    HWND Item(int controlId) const { return GetDlgItem(window_, controlId); }
    std::wstring Text(unsigned stringId) const;

    HINSTANCE instance_;
    ControllerLink& link_;
    HICON icon_;
    HWND window_ = nullptr;

    ControllerListView controllerList_;
    AddressField ipField_;
    AddressField maskField_;
    AddressField gatewayField_;
    HWND serialEdit_ = nullptr;
    HWND dateFormatCombo_ = nullptr;
    HWND webLanguageCombo_ = nullptr;

    ControlState controlState_;
    // The row that the panel last showed; the apply command falls back on it when no row is
    // selected. Kept across searches.
    int lastSelectedRow_ = -1;
};

}  // namespace lumaro
