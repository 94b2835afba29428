#pragma once

#include <string>

#include "cli/record_table.h"
#include "link/controller_record.h"

namespace lumaro {

// The controller list as text: a header line with the seven column headings, then one
// line per found controller in table order, columns separated by a tab (UTF-8).
std::string SearchReport(const ControllerTable& table);
// The same for one controller: the header line and its line.
std::string ControllerReport(const ControllerRecord& record);

// The controller list as records for CSV and JSON, one per found controller in table order:
// serial, ip, mask, gateway, mac, pcAddress, webEnabled, webPort.
RecordTable SearchRecords(const ControllerTable& table);

}  // namespace lumaro
