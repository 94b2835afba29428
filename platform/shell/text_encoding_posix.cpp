// GB18030 through the C library's iconv, which knows the whole code page (its four-byte
// sequences included).

#include <iconv.h>

#include <cerrno>
#include <vector>

#include "platform/shell/text_encoding.h"

namespace lumaro::platform {

namespace {

// One conversion descriptor, closed when it goes.
class Conversion {
public:
    Conversion(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
    ~Conversion() {
        if (Valid()) iconv_close(descriptor_);
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    bool Valid() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return descriptor_; }

private:
    iconv_t descriptor_;
};

// A GB18030 character is at most 4 bytes and its UTF-8 form at most 4: room for the whole
// text at once, plus a little.
constexpr std::size_t kUtf8BytesPerInputByte = 2;

}  // namespace

std::optional<std::string> Utf8FromGb18030(std::string_view bytes) {
    const Conversion conversion("UTF-8", "GB18030");
    if (!conversion.Valid()) return std::nullopt;
    std::vector<char> input(bytes.begin(), bytes.end());
    std::string output(bytes.size() * kUtf8BytesPerInputByte + 4, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    if (iconv(conversion.Get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;  // EILSEQ: not GB18030; EINVAL: a character cut short at the end
    }
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace lumaro::platform
