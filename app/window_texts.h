#pragma once
// The main dialog's texts in either language, from the catalogue: the caption, every
// control's text, the list's column headings and the two combo boxes' items. Functions of
// the dialog window alone, so that they re-text the open window in place (nothing else
// changes: the list's rows, the selection, the typed fields, the panel) and tests can apply
// them to the template.

#include <windows.h>

#include <array>
#include <span>
#include <string>

#include "link/controller_text.h"
#include "texts/catalogue.h"

namespace lumaro {

struct ControlText {
    int controlId;
    TextId text;
};

// The controls whose text is fixed (not the advanced button's, which follows the panel).
std::span<const ControlText> FixedControlTexts();

// The list's column headings, column by column.
const std::array<TextId, kListColumnCount>& ColumnHeadings();

// The combo boxes' items in the order of the index that the controller is sent.
std::span<const TextId> DateFormatItems();
std::span<const TextId> WebLanguageItems();

std::wstring WindowText(TextId id, Language language);

// Sets the caption ("--V" and `titleVersion` after the words), the fixed controls' texts and
// the advanced button's (by whether the panel is shown).
void ShowControlTexts(HWND dialog, Language language, bool panelShown,
                      const std::wstring& titleVersion);
// Sets the headings of the list's seven columns.
void ShowColumnHeadings(HWND list, Language language);
// Fills a combo box with these items at their indexes, each carrying its index as item data,
// and selects `selection` (the box's CBS_SORT does not reorder what CB_INSERTSTRING places).
void FillComboItems(HWND combo, std::span<const TextId> items, Language language, int selection);

}  // namespace lumaro
