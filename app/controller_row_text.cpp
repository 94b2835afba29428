#include "app/controller_row_text.h"

#include "app/wide_text.h"

namespace lumaro {

std::array<std::wstring, kListColumnCount> ControllerRowTexts(const ControllerRecord& record,
                                                              const std::wstring& webEnabled,
                                                              const std::wstring& webNotEnabled) {
    // The column order and formats are the link's; only the web state comes from the
    // string table, so it is chosen here and the ASCII columns are widened.
    const auto ascii = ListRowTexts(record, "", "");
    std::array<std::wstring, kListColumnCount> texts;
    for (int column = 0; column < kListColumnCount - 1; ++column) texts[column] = WidenAscii(ascii[column]);
    texts[kListColumnCount - 1] = WebServerEnabled(record.webPort) ? webEnabled : webNotEnabled;
    return texts;
}

}  // namespace lumaro
