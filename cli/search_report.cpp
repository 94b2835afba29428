#include "cli/search_report.h"

#include "link/controller_text.h"
#include "resources/texts.h"

namespace lumaro {

namespace {

constexpr const char* kHeadings[kListColumnCount] = {
    LUMARO_TEXT_COLUMN_SERIAL,  LUMARO_TEXT_COLUMN_IP,      LUMARO_TEXT_COLUMN_MASK,
    LUMARO_TEXT_COLUMN_GATEWAY, LUMARO_TEXT_COLUMN_MAC,     LUMARO_TEXT_COLUMN_HOST_IP,
    LUMARO_TEXT_COLUMN_WEB};
constexpr const char* kWebOn = LUMARO_TEXT_WEB_ENABLED;
constexpr const char* kWebOff = LUMARO_TEXT_WEB_NOT_ENABLED;

void AppendLine(std::string& out, const auto& columns) {
    for (int i = 0; i < kListColumnCount; ++i) {
        if (i > 0) out += '\t';
        out += columns[i];
    }
    out += '\n';
}

}  // namespace

std::string SearchReport(const ControllerTable& table) {
    std::string out;
    AppendLine(out, kHeadings);
    for (const ControllerRecord& record : table.Found()) {
        AppendLine(out, ListRowTexts(record, kWebOn, kWebOff));
    }
    return out;
}

std::string ControllerReport(const ControllerRecord& record) {
    std::string out;
    AppendLine(out, kHeadings);
    AppendLine(out, ListRowTexts(record, kWebOn, kWebOff));
    return out;
}

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

}  // namespace lumaro
