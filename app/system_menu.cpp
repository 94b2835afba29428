// The window's system menu (Alt+Space, or the caption's icon) holds the window's language,
// "why is a controller missing?", "save list" and "about", below the system's own items.

#include <windows.h>

#include "app/lumaro_dlg.h"
#include "app/system_menu_items.h"
#include "app/window_texts.h"

namespace lumaro {

namespace {

struct MenuItem {
    UINT command;
    TextId text;
};

constexpr MenuItem kItems[] = {
    {kChineseCommand, TextId::MenuChinese},
    {kEnglishCommand, TextId::MenuEnglish},
    {kWhyMissingCommand, TextId::MenuWhyMissing},
    {kSaveListCommand, TextId::MenuSaveList},
    {kAboutCommand, TextId::MenuAbout},
};

}  // namespace

void CLumaroDlg::AddSystemMenuItems() {
    const HMENU menu = GetSystemMenu(window_, FALSE);
    if (menu == nullptr) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (const MenuItem& item : kItems) {
        AppendMenuW(menu, MF_STRING, item.command, WindowText(item.text, language_).c_str());
        if (item.command == kEnglishCommand) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    ShowSystemMenuTexts();
}

void CLumaroDlg::ShowSystemMenuTexts() {
    const HMENU menu = GetSystemMenu(window_, FALSE);
    if (menu == nullptr) return;
    for (const MenuItem& item : kItems) {
        ModifyMenuW(menu, item.command, MF_BYCOMMAND | MF_STRING, item.command,
                    WindowText(item.text, language_).c_str());
    }
    CheckMenuRadioItem(menu, kChineseCommand, kEnglishCommand,
                       language_ == Language::English ? kEnglishCommand : kChineseCommand,
                       MF_BYCOMMAND);
}

INT_PTR CLumaroDlg::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {  // the system uses the low four bits
        case kChineseCommand: ChooseLanguage(Language::Chinese); return TRUE;
        case kEnglishCommand: ChooseLanguage(Language::English); return TRUE;
        case kWhyMissingCommand: ShowMissingControllerFindings(); return TRUE;
        case kSaveListCommand: SaveList(); return TRUE;
        case kAboutCommand: ShowAbout(); return TRUE;
        default: return FALSE;  // the system's own items
    }
}

}  // namespace lumaro
