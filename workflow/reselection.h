#pragma once
// Finding a controller's row again after a new search.

#include <cstdint>
#include <optional>

#include "link/controller_link.h"
#include "workflow/controller_dialog.h"

namespace lumaro {

// The first of the dialog's rows whose record has `serial`; nothing when none has.
std::optional<int> RowOfSerial(const ControllerLink& link, const ControllerDialog& dialog,
                               std::uint32_t serial);

// Selects every row whose record has `serial` (the row count is asked on every pass);
// when none has, the selection that the search made stands.
void ReselectBySerial(const ControllerLink& link, ControllerDialog& dialog,
                      std::uint32_t serial);

}  // namespace lumaro
