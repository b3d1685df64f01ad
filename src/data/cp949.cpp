#include "data/cp949.h"

#include <iconv.h>
#include <cerrno>

namespace {
constexpr char16_t kReplacement = u'\uFFFD';

// Holds an iconv descriptor for one call; iconv state is not shared.
class Converter {
public:
    Converter() : cd_(iconv_open("UTF-16LE", "CP949")) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};
}  // namespace

std::u16string DecodeCp949(std::span<const unsigned char> bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    Converter converter;
    if (!converter.ok()) {
        // Without the converter only ASCII can be trusted.
        for (unsigned char b : bytes) out.push_back(b < 0x80 ? char16_t(b) : kReplacement);
        return out;
    }
    std::size_t pos = 0;
    char buffer[4096];
    while (pos < bytes.size()) {
        char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data() + pos));
        std::size_t inLeft = bytes.size() - pos;
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft);
        const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
        for (char* p = buffer; p + 1 < outPtr; p += 2) {
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                                (static_cast<unsigned char>(p[1]) << 8)));
        }
        pos = bytes.size() - inLeft;
        if (error == EILSEQ || error == EINVAL) {
            // One replacement for the bad lead byte; go on with the next byte.
            out.push_back(kReplacement);
            ++pos;
            iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
        } else if (error != 0 && error != E2BIG) {
            out.push_back(kReplacement);
            ++pos;
        }
    }
    return out;
}
