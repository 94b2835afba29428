#include "tools/window-reader/dialog_driver.h"

#include <commctrl.h>

#include <algorithm>

#include "tools/window-reader/remote_buffer.h"
#include "tools/window-reader/send_patiently.h"

namespace lumaro::apptest {

std::wstring WindowText(HWND window) {
    // WM_GETTEXT is copied between processes by the system.
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(window, WM_GETTEXT, text.size(),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring DialogDriver::Caption() const { return WindowText(dialog_); }

int DialogDriver::OuterWidth() const {
    RECT rect{};
    GetWindowRect(dialog_, &rect);
    return rect.right - rect.left;
}

HWND DialogDriver::Control(int id) const { return GetDlgItem(dialog_, id); }

std::vector<int> DialogDriver::VisibleControlIds() const {
    std::vector<int> ids;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

std::vector<int> DialogDriver::SortedVisibleControlIds() const {
    std::vector<int> ids = VisibleControlIds();
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool DialogDriver::IsVisible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }

bool DialogDriver::IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

RECT DialogDriver::ControlRect(int id) const {
    RECT rect{};
    GetWindowRect(Control(id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int DialogDriver::FocusedControlId() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info)) return 0;
    if (info.hwndFocus == nullptr || GetParent(info.hwndFocus) != dialog_) return 0;
    return GetDlgCtrlID(info.hwndFocus);
}

HWND DialogDriver::FocusedWindow() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::wstring DialogDriver::ControlText(int id) const { return WindowText(Control(id)); }

std::vector<std::wstring> DialogDriver::ComboItems(int id) const {
    // CB_GETLBTEXT, like WM_GETTEXT, is copied between processes by the system.
    const HWND combo = Control(id);
    std::vector<std::wstring> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        items.push_back(text);
    }
    return items;
}

int DialogDriver::ComboSelection(int id) const {
    return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
}

AddressFieldContent DialogDriver::AddressField(int id) const {
    const RemoteBuffer remote(process_, sizeof(DWORD));
    remote.Store(0, DWORD{0xDEADBEEF});
    AddressFieldContent content;
    content.filledParts = static_cast<int>(
        SendMessageW(Control(id), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(remote.Address())));
    content.address = remote.Load<DWORD>(0);
    return content;
}

void DialogDriver::ClickButton(int id) const { SendPatiently(Control(id), BM_CLICK, 0, 0); }

void DialogDriver::ClickInside(HWND window) const {
    RECT client{};
    GetClientRect(window, &client);
    const LPARAM middle =
        MAKELPARAM((client.left + client.right) / 2, (client.top + client.bottom) / 2);
    SendPatiently(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendPatiently(window, WM_LBUTTONUP, 0, middle);
}

void DialogDriver::PostClickButton(int id) const { PostMessageW(Control(id), BM_CLICK, 0, 0); }

void DialogDriver::PostClickNotification(int id) const {
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void DialogDriver::FillAddressField(int id, DWORD address) const {
    SendPatiently(Control(id), IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
}

void DialogDriver::ClearAddressField(int id) const {
    SendPatiently(Control(id), IPM_CLEARADDRESS, 0, 0);
}

void DialogDriver::ChooseComboItem(int id, int index) const {
    SendPatiently(Control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DialogDriver::TypeKey(UINT virtualKey, bool withAlt) const {
    SetForegroundWindow(dialog_);
    const auto key = [](UINT vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(vk);
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        return input;
    };
    std::vector<INPUT> inputs;
    if (withAlt) inputs.push_back(key(VK_MENU, false));
    inputs.push_back(key(virtualKey, false));
    inputs.push_back(key(virtualKey, true));
    if (withAlt) inputs.push_back(key(VK_MENU, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void DialogDriver::PostKey(int id, UINT virtualKey) const {
    PostMessageW(Control(id), WM_KEYDOWN, virtualKey, 1);
    PostMessageW(Control(id), WM_KEYUP, virtualKey, 0xC0000001);
}

void DialogDriver::PostClose() const { PostMessageW(dialog_, WM_CLOSE, 0, 0); }

}  // namespace lumaro::apptest
