#include "tests/app/dialog_template.h"

#include <cstring>

namespace lumaro::apptest {

namespace {

constexpr WORD kExtendedSignature = 0xFFFF;
constexpr WORD kOrdinalMarker = 0xFFFF;

// Reads little-endian fields in order; after the first read past the end every read fails.
class TemplateReader {
public:
    explicit TemplateReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Ok() const { return ok_; }

    template <class T>
    T Read() {
        T value{};
        if (!ok_ || offset_ + sizeof(T) > bytes_.size()) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, bytes_.data() + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }

    std::wstring ReadString() {
        std::wstring text;
        for (WORD c = Read<WORD>(); ok_ && c != 0; c = Read<WORD>()) text.push_back(c);
        return text;
    }

    // A name or an ordinal; ordinals of the predefined control classes become their names.
    std::wstring ReadNameOrOrdinal() {
        const WORD first = Read<WORD>();
        if (first == 0) return {};
        if (first == kOrdinalMarker) return OrdinalName(Read<WORD>());
        std::wstring text(1, static_cast<wchar_t>(first));
        return text + ReadString();
    }

    void AlignTo4() { offset_ = (offset_ + 3) & ~std::size_t{3}; }
    void Skip(std::size_t bytes) {
        if (offset_ + bytes > bytes_.size()) ok_ = false;
        offset_ += bytes;
    }

private:
    static std::wstring OrdinalName(WORD ordinal) {
        switch (ordinal) {
            case 0x0080: return L"BUTTON";
            case 0x0081: return L"EDIT";
            case 0x0082: return L"STATIC";
            case 0x0083: return L"LISTBOX";
            case 0x0084: return L"SCROLLBAR";
            case 0x0085: return L"COMBOBOX";
            default: return L"#" + std::to_wstring(ordinal);
        }
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const std::uint8_t> bytes) {
    TemplateReader in(bytes);
    DialogTemplate dialog;
    const WORD version = in.Read<WORD>();
    const WORD signature = in.Read<WORD>();
    if (version != 1 || signature != kExtendedSignature) return std::nullopt;
    in.Read<DWORD>();  // help id
    dialog.exStyle = in.Read<DWORD>();
    dialog.style = in.Read<DWORD>();
    const WORD itemCount = in.Read<WORD>();
    dialog.x = in.Read<short>();
    dialog.y = in.Read<short>();
    dialog.width = in.Read<short>();
    dialog.height = in.Read<short>();
    dialog.menu = in.ReadNameOrOrdinal();
    dialog.windowClass = in.ReadNameOrOrdinal();
    dialog.caption = in.ReadString();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.pointSize = in.Read<WORD>();
        dialog.weight = in.Read<WORD>();
        dialog.italic = in.Read<BYTE>();
        dialog.charset = in.Read<BYTE>();
        dialog.typeface = in.ReadString();
    }
    for (WORD i = 0; i < itemCount && in.Ok(); ++i) {
        in.AlignTo4();
        DialogItem item;
        in.Read<DWORD>();  // help id
        item.exStyle = in.Read<DWORD>();
        item.style = in.Read<DWORD>();
        item.x = in.Read<short>();
        item.y = in.Read<short>();
        item.width = in.Read<short>();
        item.height = in.Read<short>();
        item.id = static_cast<std::int32_t>(in.Read<DWORD>());
        item.windowClass = in.ReadNameOrOrdinal();
        item.caption = in.ReadNameOrOrdinal();
        in.Skip(in.Read<WORD>());  // creation data
        dialog.items.push_back(item);
    }
    if (!in.Ok()) return std::nullopt;
    return dialog;
}

}  // namespace lumaro::apptest
