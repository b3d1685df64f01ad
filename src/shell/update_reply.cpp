#include "shell/update_reply.h"

#include "platform/file_io.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {
bool IsScanSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The length of the decimal number at the start of `text` (optional sign,
// digits with an optional point, optional exponent), 0 when there is none.
// The number's characters, without a leading '+', go to `ascii`.
std::size_t ReadDecimal(std::u16string_view text, std::string& ascii) {
    std::size_t i = 0;
    ascii.clear();
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') ascii.push_back('-');
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ascii.push_back(static_cast<char>(text[i++]));
        ++digits;
    }
    if (i < text.size() && text[i] == u'.') {
        ascii.push_back('.');
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i++]));
            ++digits;
        }
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            exponent.push_back(static_cast<char>(text[j++]));
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) exponent.push_back(static_cast<char>(text[j++]));
            ascii += exponent;
            i = j;
        }
    }
    return i;
}

// The value of a number read by ReadDecimal. A value beyond the type's range
// is infinity when its magnitude is large and zero when it is tiny.
template <typename T>
T ParseDecimal(const std::string& ascii) {
    T value{};
    const char* first = ascii.data();
    const char* last = ascii.data() + ascii.size();
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc()) return value;
    const bool negative = !ascii.empty() && ascii[0] == '-';
    long double wide = 0;
    const auto wideResult = std::from_chars(first, last, wide);
    if (wideResult.ec == std::errc() && std::fabs(wide) < 1.0L) return negative ? -T(0) : T(0);
    if (wideResult.ec == std::errc()) {
        return negative ? -std::numeric_limits<T>::infinity() : std::numeric_limits<T>::infinity();
    }
    return std::numeric_limits<T>::quiet_NaN();
}
}  // namespace

std::u16string DecodeUpdateReply(std::string_view bytes) {
    return Utf8ToUtf16(bytes.substr(0, bytes.find('\0')));
}

UpdateReplyScan ScanUpdateReply(std::u16string_view text) {
    UpdateReplyScan scan;
    const std::size_t marker = text.find(kUpdateReplyMarker);
    if (marker == std::u16string_view::npos) return scan;
    scan.markerFound = true;
    std::size_t i = marker + kUpdateReplyMarker.size();
    while (i < text.size() && IsScanSpace(text[i])) ++i;
    std::string ascii;
    const std::size_t length = ReadDecimal(text.substr(i), ascii);
    if (length == 0) return scan;
    scan.versionRead = true;
    scan.version = ParseDecimal<float>(ascii);
    i += length;
    if (i >= text.size() || text[i] != u',') return scan;
    ++i;
    while (i < text.size() && IsScanSpace(text[i])) ++i;
    std::size_t end = i;
    while (end < text.size() && !IsScanSpace(text[end]) && end - i <= kDownloadAddressLimit) ++end;
    const std::size_t addressLength = end - i;
    if (addressLength == 0 || addressLength > kDownloadAddressLimit) return scan;
    scan.addressRead = true;
    scan.address = std::u16string(text.substr(i, addressLength));
    return scan;
}

int32_t LocalVersionValue(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsScanSpace(text[i])) ++i;
    std::string ascii;
    if (ReadDecimal(text.substr(i), ascii) == 0) return 0;
    const double scaled = ParseDecimal<double>(ascii) * static_cast<double>(kVersionScale);
    if (!(scaled > -2147483649.0 && scaled < 2147483648.0)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}

int32_t RemoteVersionValue(float version) {
    const float scaled = version * static_cast<float>(kVersionScale);
    if (!(scaled >= -2147483648.0f && scaled < 2147483648.0f)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}

bool IsOfferableDownloadAddress(std::u16string_view address) {
    auto startsWithNoCase = [&](std::u16string_view prefix) {
        if (address.size() < prefix.size()) return false;
        for (std::size_t k = 0; k < prefix.size(); ++k) {
            char16_t c = address[k];
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
            if (c != prefix[k]) return false;
        }
        return true;
    };
    std::size_t hostStart = 0;
    if (startsWithNoCase(u"http://")) {
        hostStart = 7;
    } else if (startsWithNoCase(u"https://")) {
        hostStart = 8;
    } else {
        return false;
    }
    for (char16_t c : address) {
        if (c < 0x20 || c == 0x7F) return false;
    }
    if (hostStart >= address.size()) return false;
    const char16_t first = address[hostStart];
    return first != u'/' && first != u'?' && first != u'#' && first != u'@' && first != u':';
}

UpdateDecision DecideUpdate(std::string_view replyBytes, std::u16string_view localVersionText) {
    UpdateDecision decision;
    if (replyBytes.size() > kUpdateReplyLimit) replyBytes = replyBytes.substr(0, kUpdateReplyLimit);
    const UpdateReplyScan scan = ScanUpdateReply(DecodeUpdateReply(replyBytes));
    if (!scan.versionRead || !(scan.version > 0.0f)) return decision;
    if (RemoteVersionValue(scan.version) <= LocalVersionValue(localVersionText)) return decision;
    if (!scan.addressRead || !IsOfferableDownloadAddress(scan.address)) return decision;
    decision.offer = true;
    decision.address = scan.address;
    return decision;
}
