// The update check's decisions, without any network: the reply scan, the
// version comparison and whether the download is offered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The marker that introduces the version and the download address in a reply.
inline constexpr std::u16string_view kUpdateReplyMarker = u"##Tolvemar_UpdateInformation:";

// The most reply bytes read; one more byte of the buffer holds the end mark.
inline constexpr std::size_t kUpdateReplyLimit = 6 * 1024 * 1024 - 1;

// The longest download address taken from a reply.
inline constexpr std::size_t kDownloadAddressLimit = 999;

// Versions are compared in whole ten-thousandths.
inline constexpr int kVersionScale = 10000;

struct UpdateReplyScan {
    bool markerFound = false;
    bool versionRead = false;
    float version = 0.0f;
    // The address was read completely: it followed the comma, was not empty
    // and was no longer than kDownloadAddressLimit.
    bool addressRead = false;
    std::u16string address;
};

// Decodes reply bytes as UTF-8 up to the first zero byte, as Utf8ToUtf16
// does (malformed bytes become U+FFFD).
std::u16string DecodeUpdateReply(std::string_view bytes);

// Scans the first marker of the text: optional white space, a decimal number,
// a comma directly after it, optional white space, then the address as a run
// of non-white-space characters.
UpdateReplyScan ScanUpdateReply(std::u16string_view text);

// The local version text (leading blanks skipped, read as far as it forms a
// number) in ten-thousandths, truncated toward zero. 0 when it holds no
// number; INT32_MIN when the value does not fit.
int32_t LocalVersionValue(std::u16string_view text);

// The remote version times 10000 in single precision, truncated toward zero.
// Infinity, NaN and products outside the 32-bit range give INT32_MIN, so they
// are never newer.
int32_t RemoteVersionValue(float version);

// Whether the address may be handed to the system's opener: an http or https
// address with a host.
bool IsOfferableDownloadAddress(std::u16string_view address);

struct UpdateDecision {
    bool offer = false;
    std::u16string address;  // set when offer is true
};

// The whole decision for a reply body against the local version text: offer
// only a positive, strictly newer version that comes with an offerable address.
UpdateDecision DecideUpdate(std::string_view replyBytes, std::u16string_view localVersionText);
