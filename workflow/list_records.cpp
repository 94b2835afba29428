#include "workflow/list_records.h"

#include "link/controller_text.h"

namespace lumaro {

RecordTable SearchRecords(const ControllerTable& table) {
    RecordTable records{
        {"serial", "ip", "mask", "gateway", "mac", "pcAddress", "webEnabled", "webPort"}, {}};
    for (const ControllerRecord& record : table.Found()) {
        records.rows.push_back({std::uint64_t{record.serial}, FormatAddress(record.ip),
                                FormatAddress(record.mask), FormatAddress(record.gateway),
                                FormatMac(record.mac), FormatAddress(record.hostAddress),
                                WebServerEnabled(record.webPort), std::uint64_t{record.webPort}});
    }
    return records;
}

std::string ListCsvFile(const ControllerTable& table) {
    return "\xEF\xBB\xBF" + FormatCsv(SearchRecords(table));
}

}  // namespace lumaro
