#include "app/window_texts.h"

#include <commctrl.h>

#include "app/wide_text.h"
#include "resources/resource.h"

namespace lumaro {

namespace {

constexpr ControlText kFixedTexts[] = {
    {IDCANCEL, TextId::ExitButton},
    {IDC_SEARCH_BUTTON, TextId::SearchButton},
    {IDC_QUICK_ENABLE_BUTTON, TextId::QuickEnableButton},
    {IDC_IP_LABEL, TextId::IpLabel},
    {IDC_MASK_LABEL, TextId::MaskLabel},
    {IDC_GATEWAY_LABEL, TextId::GatewayLabel},
    {IDC_APPLY_BUTTON, TextId::ApplyButton},
    {IDC_SERIAL_LABEL, TextId::SerialLabel},
    {IDC_SYNC_TIME_BUTTON, TextId::SyncTimeButton},
    {IDC_DISABLE_WEB_BUTTON, TextId::DisableWebButton},
    {IDC_DATE_FORMAT_LABEL, TextId::DateFormatLabel},
    {IDC_WEB_LANGUAGE_LABEL, TextId::WebLanguageLabel},
};

constexpr std::array<TextId, kListColumnCount> kColumnHeadings{
    TextId::ColumnSerial,  TextId::ColumnIp,     TextId::ColumnMask, TextId::ColumnGateway,
    TextId::ColumnMac,     TextId::ColumnHostIp, TextId::ColumnWeb};

constexpr TextId kDateFormatItems[] = {TextId::DateYmdDash,  TextId::DateMdyDash,
                                       TextId::DateDmyDash,  TextId::DateYmdSlash,
                                       TextId::DateMdySlash, TextId::DateDmySlash};
constexpr TextId kWebLanguageItems[] = {TextId::WebLanguageChinese, TextId::WebLanguageEnglish};

}  // namespace

std::span<const ControlText> FixedControlTexts() { return kFixedTexts; }

const std::array<TextId, kListColumnCount>& ColumnHeadings() { return kColumnHeadings; }

std::span<const TextId> DateFormatItems() { return kDateFormatItems; }

std::span<const TextId> WebLanguageItems() { return kWebLanguageItems; }

std::wstring WindowText(TextId id, Language language) { return WidenUtf8(Text(id, language)); }

void ShowControlTexts(HWND dialog, Language language, bool panelShown,
                      const std::wstring& titleVersion) {
    SetWindowTextW(dialog, (WindowText(TextId::Caption, language) + L"--V" + titleVersion).c_str());
    for (const ControlText& control : kFixedTexts) {
        SetDlgItemTextW(dialog, control.controlId, WindowText(control.text, language).c_str());
    }
    SetDlgItemTextW(dialog, IDC_ADVANCED_BUTTON,
                    WindowText(panelShown ? TextId::HideAdvanced : TextId::ShowAdvanced, language)
                        .c_str());
}

void ShowColumnHeadings(HWND list, Language language) {
    for (std::size_t column = 0; column < kColumnHeadings.size(); ++column) {
        std::wstring heading = WindowText(kColumnHeadings[column], language);
        LVCOLUMNW change{};
        change.mask = LVCF_TEXT;
        change.pszText = heading.data();
        SendMessageW(list, LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&change));
    }
}

void FillComboItems(HWND combo, std::span<const TextId> items, Language language, int selection) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::wstring text = WindowText(items[i], language);
        SendMessageW(combo, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(combo, CB_SETITEMDATA, i, static_cast<LPARAM>(i));
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

}  // namespace lumaro
