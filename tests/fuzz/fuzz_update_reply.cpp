// The update check's reply handling over arbitrary server replies: decoding,
// the scan after the marker, the version comparison and the decision to offer
// a download. An offer must always name a bounded http(s) address for a
// version strictly newer than the local one.
#include "shell/update_reply.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_check.h"

namespace {

bool IsScanSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // Mostly the shipped local version; sometimes any text.
    const std::string localBytes = input.ConsumeBool() ? input.ConsumeRandomLengthString(24) : "2.213";
    const std::u16string local(localBytes.begin(), localBytes.end());
    float raw = 0;
    const std::vector<uint8_t> rawBytes = input.ConsumeBytes<uint8_t>(sizeof raw);
    if (!rawBytes.empty()) std::memcpy(&raw, rawBytes.data(), rawBytes.size());
    const std::string reply = input.ConsumeRemainingBytesAsString();

    (void)RemoteVersionValue(raw);
    const int32_t localValue = LocalVersionValue(local);

    const std::u16string text = DecodeUpdateReply(reply);
    FUZZ_CHECK(text.size() <= reply.size());
    FUZZ_CHECK(text.find(u'\0') == std::u16string::npos);
    const size_t zero = reply.find('\0');
    if (zero != std::string::npos) FUZZ_CHECK(text.size() <= zero);

    const UpdateReplyScan scan = ScanUpdateReply(text);
    if (scan.addressRead) {
        FUZZ_CHECK(scan.markerFound && scan.versionRead);
        FUZZ_CHECK(!scan.address.empty() && scan.address.size() <= kDownloadAddressLimit);
        for (const char16_t c : scan.address) FUZZ_CHECK(!IsScanSpace(c));
        FUZZ_CHECK(text.find(scan.address) != std::u16string::npos);
    }
    if (scan.versionRead) FUZZ_CHECK(scan.markerFound);

    const UpdateDecision decision = DecideUpdate(reply, local);
    if (decision.offer) {
        FUZZ_CHECK(scan.addressRead && decision.address == scan.address);
        FUZZ_CHECK(IsOfferableDownloadAddress(decision.address));
        FUZZ_CHECK(scan.version > 0.0f);
        FUZZ_CHECK(RemoteVersionValue(scan.version) > localValue);
        for (const char16_t c : decision.address) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
    } else {
        FUZZ_CHECK(decision.address.empty());
    }
    return 0;
}
