#pragma once
// The controller list as records with named fields, for scripts (the console's csv and
// json) and for a spreadsheet (the window's "save list"): the same fields, whatever the
// language of the window or the console.

#include <string>

#include "link/controller_record.h"
#include "workflow/record_table.h"

namespace lumaro {

// One record per found controller in table order: serial, ip, mask, gateway, mac,
// pcAddress, webEnabled, webPort.
RecordTable SearchRecords(const ControllerTable& table);

// The list as a CSV file that a spreadsheet opens correctly: UTF-8 with a byte-order mark,
// then the console's CSV (RFC 4180, CR LF).
std::string ListCsvFile(const ControllerTable& table);

}  // namespace lumaro
