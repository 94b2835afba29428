// The window's language: every text of the open window re-set from the catalogue, in place.
// The list's rows, the selection, the typed fields, the combo boxes' choices and the panel
// stay as they are; only where English needs the room do controls grow (language_layout).

#include <windows.h>

#include "app/language_layout.h"
#include "app/lumaro_dlg.h"
#include "app/window_language.h"
#include "app/window_texts.h"

namespace lumaro {

void CLumaroDlg::ShowLanguage(Language language) {
    language_ = language;
    ShowControlTexts(window_, language, advancedPanel_.Shown(), titleVersion_);
    ChangeLanguageLayout(window_, layoutLanguage_, language);
    layoutLanguage_ = language;
    ShowColumnHeadings(controllerList_.Handle(), language);
    ShowWebColumn();
    const auto selection = [](HWND combo) {
        return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    };
    FillComboItems(dateFormatCombo_, DateFormatItems(), language, selection(dateFormatCombo_));
    FillComboItems(webLanguageCombo_, WebLanguageItems(), language,
                   selection(webLanguageCombo_));
    ShowSystemMenuTexts();
    InvalidateRect(window_, nullptr, TRUE);
}

void CLumaroDlg::ChooseLanguage(Language language) {
    if (language != language_) ShowLanguage(language);
    RememberLanguage(language);  // the technician's choice, for the next start too
}

void CLumaroDlg::ShowWebColumn() {
    const std::wstring on = WindowText(TextId::WebEnabled, language_);
    const std::wstring off = WindowText(TextId::WebNotEnabled, language_);
    const int webColumn = kListColumnCount - 1;
    for (int row = 0; row < controllerList_.RowCount(); ++row) {
        const ControllerRecord* record = link_.Table().RecordOfRow(row);
        if (record == nullptr) continue;
        controllerList_.SetCellText(row, webColumn, WebServerEnabled(record->webPort) ? on : off);
    }
}

}  // namespace lumaro
