#pragma once

#include <string>

#include "workflow/list_records.h"  // SearchRecords, for the other formats
#include "link/controller_record.h"
#include "texts/language.h"

namespace lumaro {

// The controller list as the window shows it in `language`: a header line with the seven
// column headings, then one line per found controller in table order, columns separated by
// a tab (UTF-8).
std::string SearchReport(const ControllerTable& table, Language language);
// The same for one controller: the header line and its line.
std::string ControllerReport(const ControllerRecord& record, Language language);

}  // namespace lumaro
