// "About Lumaro": the program's name, its version (the project's one version, from the
// version block) and the commit it was built from.

#include <windows.h>

#include "app/lumaro_dlg.h"
#include "app/product_version.h"
#include "app/wide_text.h"
#include "app/window_texts.h"
#include "platform/utf8_win32.h"

namespace lumaro {

void CLumaroDlg::ShowAbout() {
    const std::string version = platform::Utf8FromWide(ReadProductVersion());
    const std::string commit = platform::Utf8FromWide(ReadVersionString(L"Commit"));
    const std::wstring text =
        WidenUtf8(FormatText(TextId::AboutText, language_,
                             {version.empty() ? "?" : version, commit.empty() ? "?" : commit}));
    MessageBoxW(window_, text.c_str(), WindowText(TextId::MenuAbout, language_).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace lumaro
