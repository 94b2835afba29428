#include "cli/search_report.h"

#include "link/controller_text.h"

namespace lumaro {

namespace {

constexpr const char* kHeadings[kListColumnCount] = {
    "控制器SN", "IP", "掩码", "网关", "MAC地址", "电脑IP", "WEB"};
constexpr const char* kWebOn = "启用";
constexpr const char* kWebOff = "未启用";

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

}  // namespace lumaro
