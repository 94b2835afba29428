#pragma once
// The main dialog: the controller list, the search and the selection, the command buttons
// and the advanced panel, built from dialog template 102 and run modally. The class routes
// messages; the handlers live in files of their own beside it.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/address_field.h"
#include "app/advanced_panel.h"
#include "app/controller_list_view.h"
#include "app/key_filter.h"
#include "app/pixel_scale.h"
#include "app/queue_heartbeat.h"
#include "app/run_gate.h"
#include "link/controller_link.h"
#include "texts/language.h"
#include "workflow/command_dialog.h"
#include "workflow/controller_commands.h"

namespace lumaro {

class CLumaroDlg : public CommandDialog {
public:
    // `heartbeat` beats this thread's queue while a command blocks it.
    CLumaroDlg(HINSTANCE instance, ControllerLink& link, QueueHeartbeat& heartbeat,
               Language language = Language::Chinese);
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
    void ShowOutcome(Outcome outcome) override;
    void ShowWaitCursor() override;
    void ShowArrowCursor() override;
    void Search() override;
    void SelectRow(int row) override;
    TypedAddresses ReadTypedAddresses() const override;
    int LastSelectedRow() const override;
    void EnableCommandButton(CommandButton button, bool enabled) override;
    void ShowHiddenModeButtons() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // One handler per message; each gives what the dialog procedure answers.
    INT_PTR OnInitDialog();
    INT_PTR OnPaint();
    INT_PTR OnQueryDragIcon() const;
    INT_PTR OnCommand(int controlId, int notification);
    INT_PTR OnNotify(const NMHDR& header);
    INT_PTR OnClose();                      // key_and_close_handling.cpp
    INT_PTR OnKeyDown(WPARAM virtualKey);   // key_and_close_handling.cpp
    INT_PTR OnSysCommand(WPARAM command);   // system_menu.cpp

    // One handler per button.
    void OnSearchButton();
    void OnQuickEnableButton();
    void OnApplyButton();       // command_buttons.cpp
    void OnSyncTimeButton();    // command_buttons.cpp
    void OnAdvancedButton();
    void OnDisableWebButton();  // command_buttons.cpp

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
    // A row that became selected: the panel shows it now, or after the command that runs.
    void OnRowSelected(int row);
    // Selects a row from the program's own code (not a change that another program makes).
    void SelectRowByProgram(int row);
    void SelectSerial(std::uint32_t serial);

    // The window's language (language_switch.cpp): re-texts the open window in place, and
    // the technician's choice from the system menu, which is also remembered.
    void ShowLanguage(Language language);
    void ChooseLanguage(Language language);
    void ShowWebColumn();

    // The system menu's own items (system_menu.cpp) and what they open.
    void AddSystemMenuItems();
    void ShowSystemMenuTexts();
    void ShowMissingControllerFindings();  // missing_controller_window.cpp
    void SaveList();                       // save_list.cpp
    void ShowAbout();                      // about_box.cpp

    HWND Item(int controlId) const { return GetDlgItem(window_, controlId); }
    std::wstring Text(unsigned stringId) const;
    // A message box owned by the dialog, captioned as every box of the dialog is.
    void ShowMessageText(const std::wstring& text, UINT flags);

    HINSTANCE instance_;
    ControllerLink& link_;
    QueueHeartbeat& heartbeat_;
    HICON icon_;
    HWND window_ = nullptr;

    ControllerListView controllerList_;
    AddressField ipField_;
    AddressField maskField_;
    AddressField gatewayField_;
    HWND serialEdit_ = nullptr;
    HWND dateFormatCombo_ = nullptr;
    HWND webLanguageCombo_ = nullptr;

    // Keeps what arrives during a command for its end.
    RunGate runs_;
    bool selectingByProgram_ = false;

    // The DPI the dialog is shown at, for the geometry set at run time.
    PixelScale scale_;
    // Hands the dialog the key presses of its controls (F4), while the dialog runs.
    std::unique_ptr<KeyFilter> keyFilter_;
    CommandEnvironment commandEnvironment_;

    // The row that the panel last showed; the apply command falls back on it when no row is
    // selected. Kept across searches.
    int lastSelectedRow_ = -1;
    AdvancedPanel advancedPanel_;

    // The language the window speaks, the one its layout is for (the template's Chinese at
    // first), and the version part of its caption ("2.7").
    Language language_;
    Language layoutLanguage_ = Language::Chinese;
    std::wstring titleVersion_;
};

}  // namespace lumaro
