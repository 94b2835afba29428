#pragma once
// The texts of one row of the controller list.

#include <array>
#include <string>

#include "link/controller_record.h"
#include "link/controller_text.h"

namespace lumaro {

// Serial, address, mask, gateway, MAC, PC address and web state of a record; the web state
// is one of the two texts given (from the string table).
std::array<std::wstring, kListColumnCount> ControllerRowTexts(const ControllerRecord& record,
                                                              const std::wstring& webEnabled,
                                                              const std::wstring& webNotEnabled);

}  // namespace lumaro
