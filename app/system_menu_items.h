#pragma once
// The commands of the items that lumaro.exe adds to its window's system menu (WM_SYSCOMMAND;
// multiples of 16 below 0xF000, as the system keeps the low four bits and the rest for its
// own). Tests send them as a user's choice in the menu would.

#include <windows.h>

namespace lumaro {

constexpr UINT kChineseCommand = 0x0110;
constexpr UINT kEnglishCommand = 0x0120;
constexpr UINT kWhyMissingCommand = 0x0130;
constexpr UINT kSaveListCommand = 0x0140;
constexpr UINT kAboutCommand = 0x0150;

}  // namespace lumaro
