// The description table loader over arbitrary bytes: code page 949 decoding
// (the release notes are decoded the same way) and the table parser, which
// writes into the skill records. Every description must stay terminated
// within its field, and loading the same table twice must give the same
// descriptions.
#include "data/cp949.h"
#include "data/description_loader.h"
#include "data/tables.h"

#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "fuzz_check.h"

namespace {

// Checks every description and returns a digest of all of them.
uint64_t CheckDescriptions() {
    uint64_t digest = 1469598103934665603ULL;
    for (const SkillRecord& record : g_SkillTable) {
        size_t length = 0;
        while (length < kDescriptionChars && record.description[length] != 0) {
            digest = (digest ^ record.description[length]) * 1099511628211ULL;
            ++length;
        }
        FUZZ_CHECK(length <= 1000);
        digest = (digest ^ length) * 1099511628211ULL;
    }
    return digest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::span<const unsigned char> bytes(data + 1, size - 1);
    DescriptionLoadStats first;
    if (data[0] & 1) {
        // The table as it is shipped: code page 949 bytes.
        const std::u16string decoded = DecodeCp949(bytes);
        FUZZ_CHECK(decoded.size() <= bytes.size());
        FUZZ_CHECK(LoadSkillDescriptionsFrom(bytes, &first) == !bytes.empty());
    } else {
        // Any UTF-16 text, for characters code page 949 cannot produce.
        std::u16string text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        ApplyDescriptionTable(text, &first);
    }
    FUZZ_CHECK(first.matchedLines <= first.identifierLines);
    FUZZ_CHECK(first.emptyOtherLines <= first.identifierLines - first.matchedLines);
    const uint64_t digest = CheckDescriptions();
    if (data[0] & 1) {
        DescriptionLoadStats second;
        LoadSkillDescriptionsFrom(bytes, &second);
        FUZZ_CHECK(CheckDescriptions() == digest);
        FUZZ_CHECK(second.matchedLines == first.matchedLines);
    }
    return 0;
}
