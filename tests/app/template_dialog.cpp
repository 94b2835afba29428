#include "tests/app/template_dialog.h"

#include <commctrl.h>

#include <stdexcept>

#include "resources/resource.h"
#include "tools/window-reader/launched_program.h"

namespace lumaro::apptest {

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

TemplateDialog::TemplateDialog(const std::string& program) {
    // As lumaro.exe: its classes registered, and aware of the display's DPI (its manifest).
    SetProcessDPIAware();
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                 ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&classes);
    module_ = LoadLibraryExW(WindowsPathOf(program).c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module_ == nullptr) throw std::runtime_error("cannot load " + program + " as data");
    const HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(IDD_LUMARO_DIALOG), RT_DIALOG);
    const HGLOBAL loaded = found != nullptr ? LoadResource(module_, found) : nullptr;
    const auto* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) throw std::runtime_error("no dialog 102 in " + program);
    dialog_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                         static_cast<const DLGTEMPLATE*>(bytes), nullptr,
                                         QuietProc, 0);
    if (dialog_ == nullptr) throw std::runtime_error("cannot create dialog 102");
    ShowWindow(dialog_, SW_HIDE);
}

TemplateDialog::~TemplateDialog() {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
    if (module_ != nullptr) FreeLibrary(module_);
}

RECT TemplateDialog::ControlRect(int id) const {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog_, id), &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE TemplateDialog::TextExtent(int id, const std::wstring& text) const {
    const HWND control = GetDlgItem(dialog_, id);
    const HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent;
}

}  // namespace lumaro::apptest
