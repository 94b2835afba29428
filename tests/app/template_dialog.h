#pragma once
// lumaro.exe's dialog template made into a window of this process, at the Wine prefix's
// DPI, so that a test can measure what the program's own code makes of it: every text in
// its control's font against the control's room.

#include <windows.h>

#include <string>

namespace lumaro::apptest {

class TemplateDialog {
public:
    // Loads the program at this Unix path as data and creates its dialog 102, hidden, with
    // a dialog procedure that does nothing. Throws when it cannot.
    explicit TemplateDialog(const std::string& program);
    ~TemplateDialog();
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    HWND Handle() const { return dialog_; }
    RECT ControlRect(int id) const;  // in the dialog's client coordinates

    // The text's width and height in pixels, drawn in the control's font.
    SIZE TextExtent(int id, const std::wstring& text) const;

private:
    HMODULE module_ = nullptr;
    HWND dialog_ = nullptr;
};

}  // namespace lumaro::apptest
