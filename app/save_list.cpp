// "Save list…": the list as the console's CSV, in a file that a spreadsheet opens correctly
// (UTF-8 with a byte-order mark, CR LF), where the technician chooses in the standard Save
// As dialog. Cancel writes nothing; a file that cannot be written is said so, with the
// system's reason.

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <utility>

#include "app/lumaro_dlg.h"
#include "app/wide_text.h"
#include "app/window_texts.h"
#include "platform/utf8_win32.h"
#include "workflow/list_records.h"

namespace lumaro {

namespace {

constexpr DWORD kSaveAsPathCharacters = 32768;

// lumaro-list-YYYYMMDD-HHMM.csv, at this PC's local time.
std::wstring DefaultFileName() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t name[64];
    wsprintfW(name, L"lumaro-list-%04u%02u%02u-%02u%02u.csv", now.wYear, now.wMonth, now.wDay,
              now.wHour, now.wMinute);
    return name;
}

// The system's words for an error, without the line end.
std::wstring SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length > 0 && text != nullptr ? std::wstring(text, length)
                                                        : L"error " + std::to_wstring(error);
    if (text != nullptr) LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) reason.pop_back();
    return reason;
}

// A file opened for writing, closed when it goes.
class WrittenFile {
public:
    explicit WrittenFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~WrittenFile() { Close(); }
    WrittenFile(const WrittenFile&) = delete;
    WrittenFile& operator=(const WrittenFile&) = delete;

    bool Opened() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Write(const std::string& bytes) const {
        DWORD written = 0;
        return WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr) &&
               written == bytes.size();
    }
    // Closing flushes what the system still holds: it can fail too (a full disk).
    bool Close() {
        if (!Opened()) return true;
        return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE;
    }

private:
    HANDLE handle_;
};

// Writes the bytes to the file, replacing it; the system's error, or 0 when written.
DWORD WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    WrittenFile file(path);
    if (!file.Opened() || !file.Write(bytes) || !file.Close()) {
        const DWORD error = GetLastError();
        return error != 0 ? error : ERROR_WRITE_FAULT;
    }
    return 0;
}

}  // namespace

void CLumaroDlg::SaveList() {
    // The file type's name, then its pattern, each ended, the whole ended once more.
    std::wstring filter = WindowText(TextId::SaveListFilter, language_);
    filter += L'\0';
    filter += L"*.csv";
    filter += L'\0';
    std::wstring path = DefaultFileName();
    path.resize(kSaveAsPathCharacters, L'\0');

    OPENFILENAMEW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = window_;
    choice.lpstrFilter = filter.c_str();
    choice.lpstrFile = path.data();
    choice.nMaxFile = kSaveAsPathCharacters;
    choice.lpstrDefExt = L"csv";
    choice.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&choice)) return;  // cancelled (or the dialog failed): nothing written
    path.resize(wcslen(path.c_str()));

    const DWORD error = WriteWholeFile(path, ListCsvFile(link_.Table()));
    if (error == 0) return;
    const std::wstring message = WidenUtf8(FormatText(
        TextId::SaveListFailed, language_,
        {platform::Utf8FromWide(path), platform::Utf8FromWide(SystemReason(error))}));
    ShowMessageText(message, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace lumaro
