#include "app/controller_row_text.h"

#include "app/wide_text.h"

namespace lumaro {

std::array<std::wstring, kListColumnCount> ControllerRowTexts(const ControllerRecord& record,
                                                              const std::wstring& webEnabled,
                                                              const std::wstring& webNotEnabled) {
    return {
        WidenAscii(FormatSerial(record.serial)),
        WidenAscii(FormatAddress(record.ip)),
        WidenAscii(FormatAddress(record.mask)),
        WidenAscii(FormatAddress(record.gateway)),
        WidenAscii(FormatMac(record.mac)),
        WidenAscii(FormatAddress(record.hostAddress)),
        WebServerEnabled(record.webPort) ? webEnabled : webNotEnabled,
    };
}

}  // namespace lumaro
