#include "cli/search_report.h"

#include <array>

#include "link/controller_text.h"
#include "texts/catalogue.h"

namespace lumaro {

namespace {

constexpr TextId kHeadings[kListColumnCount] = {
    TextId::ColumnSerial,  TextId::ColumnIp,     TextId::ColumnMask, TextId::ColumnGateway,
    TextId::ColumnMac,     TextId::ColumnHostIp, TextId::ColumnWeb};

std::array<std::string, kListColumnCount> Headings(Language language) {
    std::array<std::string, kListColumnCount> headings;
    for (int i = 0; i < kListColumnCount; ++i) headings[i] = Text(kHeadings[i], language);
    return headings;
}

std::array<std::string, kListColumnCount> Row(const ControllerRecord& record, Language language) {
    return ListRowTexts(record, std::string(Text(TextId::WebEnabled, language)),
                        std::string(Text(TextId::WebNotEnabled, language)));
}

void AppendLine(std::string& out, const auto& columns) {
    for (int i = 0; i < kListColumnCount; ++i) {
        if (i > 0) out += '\t';
        out += columns[i];
    }
    out += '\n';
}

}  // namespace

std::string SearchReport(const ControllerTable& table, Language language) {
    std::string out;
    AppendLine(out, Headings(language));
    for (const ControllerRecord& record : table.Found()) AppendLine(out, Row(record, language));
    return out;
}

std::string ControllerReport(const ControllerRecord& record, Language language) {
    std::string out;
    AppendLine(out, Headings(language));
    AppendLine(out, Row(record, language));
    return out;
}

}  // namespace lumaro
