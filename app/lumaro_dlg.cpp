#include "app/lumaro_dlg.h"

#include <windows.h>
#include <commctrl.h>

#include <array>

#include "app/beating_environment.h"
#include "app/control_rules.h"
#include "app/dialog_geometry.h"
#include "app/dialog_title.h"
#include "app/list_columns.h"
#include "app/product_version.h"
#include "app/string_table.h"
#include "app/window_texts.h"
#include "resources/resource.h"

namespace lumaro {

namespace {

// Combo box items in the order that their indexes mean to the controller.
constexpr std::array<unsigned, 6> kDateFormatStrings{IDS_DATE_YMD_DASH, IDS_DATE_MDY_DASH,
                                                   IDS_DATE_DMY_DASH, IDS_DATE_YMD_SLASH,
                                                   IDS_DATE_MDY_SLASH, IDS_DATE_DMY_SLASH};
constexpr std::array<unsigned, 2> kWebLanguageStrings{IDS_WEB_LANGUAGE_CHINESE,
                                                    IDS_WEB_LANGUAGE_ENGLISH};

// A row that was not selected is now.
bool RowBecameSelected(const NMLISTVIEW& change) {
    return change.iItem >= 0 && (change.uChanged & LVIF_STATE) != 0 &&
           (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0;
}

}  // namespace

CLumaroDlg::CLumaroDlg(HINSTANCE instance, ControllerLink& link, QueueHeartbeat& heartbeat,
                       Language language)
    : instance_(instance),
      link_(link),
      heartbeat_(heartbeat),
      icon_(LoadIconW(instance, MAKEINTRESOURCEW(IDI_LUMARO))),
      runs_([this](std::uint32_t serial) { SelectSerial(serial); }),
      commandEnvironment_(BeatingCommandEnvironment(CommandEnvironment::System(), heartbeat)),
      language_(language) {}

INT_PTR CLumaroDlg::DoModal() {
    const INT_PTR result = DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_LUMARO_DIALOG),
                                           nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    keyFilter_.reset();
    return result;
}

INT_PTR CALLBACK CLumaroDlg::DialogProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CLumaroDlg*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window_ = window;
        return dialog->HandleMessage(message, wParam, lParam);
    }
    auto* dialog = reinterpret_cast<CLumaroDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;  // messages before WM_INITDIALOG
    return dialog->HandleMessage(message, wParam, lParam);
}

INT_PTR CLumaroDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Wherever it is handled (the dialog's loop, a message box's loop, a beat of the queue).
    if (IsClickOfDisabledButton(window_, message, wParam)) return TRUE;
    if (runs_.KeepForLater(window_, message, wParam, lParam)) return TRUE;
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            return OnQueryDragIcon();
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CLOSE:
            return OnClose();
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return OnKeyDown(wParam);
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam);
        default:
            return FALSE;
    }
}

INT_PTR CLumaroDlg::OnInitDialog() {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    BindControls();
    scale_ = PixelScale::OfWindow(window_);
    keyFilter_ = std::make_unique<KeyFilter>(
        window_, [this](UINT, WPARAM virtualKey) { OnKeyDown(virtualKey); });
    ShowTitleWithVersion();
    const int listClientWidth = PlaceControllerList();
    ApplyControlRules(window_, DialogEvent::PanelHidden);  // the panel starts hidden
    InsertListColumns(listClientWidth);
    FillComboBoxes();
    AddSystemMenuItems();
    // Chinese is the template's own: only English re-texts the window.
    if (language_ == Language::English) ShowLanguage(language_);
    link_.SeedSequenceCounter();
    const RunGate::Run run(runs_);
    SearchCommand();
    return TRUE;  // the system focuses the first visible tab stop: the exit button
}

void CLumaroDlg::BindControls() {
    controllerList_ = ControllerListView(Item(IDC_CONTROLLER_LIST));
    ipField_ = AddressField(Item(IDC_IP_FIELD));
    maskField_ = AddressField(Item(IDC_MASK_FIELD));
    gatewayField_ = AddressField(Item(IDC_GATEWAY_FIELD));
    serialEdit_ = Item(IDC_SERIAL_EDIT);
    dateFormatCombo_ = Item(IDC_DATE_FORMAT_COMBO);
    webLanguageCombo_ = Item(IDC_WEB_LANGUAGE_COMBO);
}

void CLumaroDlg::ShowTitleWithVersion() {
    const int length = GetWindowTextLengthW(window_);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(window_, caption.data(), length + 1)));
    const std::wstring version = ReadProductVersion();
    titleVersion_ = TitleVersion(version);
    SetWindowTextW(window_, TitleWithVersion(caption, version).c_str());
}

int CLumaroDlg::PlaceControllerList() {
    const HWND list = controllerList_.Handle();
    const RECT listRect = WindowRectInClient(list, window_);
    RECT dialogRect{};
    GetWindowRect(window_, &dialogRect);
    const int dialogWidth = dialogRect.right - dialogRect.left;
    SetWindowPos(list, nullptr, scale_(kListLeft), listRect.top,
                 dialogWidth - scale_(kListWidthMargin), listRect.bottom - listRect.top,
                 SWP_NOZORDER);
    RECT client{};
    GetClientRect(list, &client);
    return client.right - client.left;
}

void CLumaroDlg::InsertListColumns(int clientWidth) {
    const auto columns = ControllerListColumns(clientWidth, scale_);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        controllerList_.InsertColumn(static_cast<int>(i), Text(columns[i].headingId),
                                     columns[i].width);
    }
}

void CLumaroDlg::FillComboBoxes() {
    // CB_INSERTSTRING puts each item at the index given, in spite of the boxes' CBS_SORT;
    // each item also carries its index, which is what the controller is sent.
    const auto fill = [this](HWND combo, const auto& items) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            SendMessageW(combo, CB_INSERTSTRING, i,
                         reinterpret_cast<LPARAM>(Text(items[i]).c_str()));
            SendMessageW(combo, CB_SETITEMDATA, i, static_cast<LPARAM>(i));
        }
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
    };
    fill(dateFormatCombo_, kDateFormatStrings);
    fill(webLanguageCombo_, kWebLanguageStrings);
}

INT_PTR CLumaroDlg::OnPaint() {
    if (!IsIconic(window_)) return FALSE;  // the dialog paints itself
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(window_, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(window_, &paint);
    return TRUE;
}

INT_PTR CLumaroDlg::OnQueryDragIcon() const { return reinterpret_cast<INT_PTR>(icon_); }

INT_PTR CLumaroDlg::OnCommand(int controlId, int notification) {
    if (controlId == IDOK || controlId == IDCANCEL) {
        // Enter, Esc and the exit button end the dialog at once; the sockets stay open
        // until the process ends right after.
        EndDialog(window_, controlId);
        return TRUE;
    }
    if (notification != BN_CLICKED) return FALSE;
    switch (controlId) {
        case IDC_SEARCH_BUTTON: OnSearchButton(); return TRUE;
        case IDC_QUICK_ENABLE_BUTTON: OnQuickEnableButton(); return TRUE;
        case IDC_APPLY_BUTTON: OnApplyButton(); return TRUE;
        case IDC_SYNC_TIME_BUTTON: OnSyncTimeButton(); return TRUE;
        case IDC_ADVANCED_BUTTON: OnAdvancedButton(); return TRUE;
        case IDC_DISABLE_WEB_BUTTON: OnDisableWebButton(); return TRUE;
        default: return FALSE;
    }
}

INT_PTR CLumaroDlg::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_CONTROLLER_LIST) return FALSE;
    if (header.code == static_cast<UINT>(NM_CLICK)) {
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
        if (controllerList_.SelectedCount() > 0) OnRowSelected(controllerList_.SelectedRow());
        return TRUE;
    }
    // The panel follows the selection however it moved (arrows, Home/End, typing, a click,
    // the program's own reselection), so that every command acts on the controller that
    // the panel shows. A change that only takes a selection away leaves the panel alone.
    if (header.code == static_cast<UINT>(LVN_ITEMCHANGED) &&
        RowBecameSelected(reinterpret_cast<const NMLISTVIEW&>(header))) {
        OnRowSelected(reinterpret_cast<const NMLISTVIEW&>(header).iItem);
        return TRUE;
    }
    return FALSE;
}

void CLumaroDlg::OnSearchButton() {
    const RunGate::Run run(runs_);
    SearchCommand();
}

void CLumaroDlg::OnAdvancedButton() {
    // The toggle's text in the window's language (the catalogue's Chinese is the string
    // table's).
    advancedPanel_.Toggle(window_, controllerList_.Handle(), scale_, [this](unsigned stringId) {
        return WindowText(stringId == IDS_HIDE_ADVANCED ? TextId::HideAdvanced
                                                        : TextId::ShowAdvanced,
                          language_);
    });
}

std::wstring CLumaroDlg::Text(unsigned stringId) const { return LoadText(instance_, stringId); }

}  // namespace lumaro
