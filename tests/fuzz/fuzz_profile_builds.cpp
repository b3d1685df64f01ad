// The profile build store ("Slot" and "Data" of every job) over arbitrary
// values: each input fills a profile with any text under the value names of
// one language, the builds are read from it into the trees and checked, then
// written to a fresh profile and read back, which must give the same builds.
#include "fuzz_support.h"

#include "persistence/registry_builds.h"
#include "persistence/save_data.h"
#include "shell/options.h"
#include "shell/profile_store.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

AllBuilds baseline;

// Text of any UTF-16 code units: either each byte widened (digits and letters
// come up often) or byte pairs as whole code units (surrogates included).
std::u16string ConsumeText(FuzzedDataProvider& input) {
    const bool wide = input.ConsumeBool();
    const std::string bytes = input.ConsumeRandomLengthString(240);
    std::u16string text;
    if (!wide) {
        for (const char c : bytes) text.push_back(static_cast<unsigned char>(c));
        return text;
    }
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    baseline = fuzz::Baseline();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    g_Options.Language = input.ConsumeIntegralInRange<int32_t>(-1, 2);
    MemoryProfileStore profile;
    for (int32_t job = 0; job < kJobCount && input.remaining_bytes() > 0; ++job) {
        if (input.ConsumeBool()) {
            profile.values[{kSlotSection, SlotValueName(job)}] = ConsumeText(input);
        }
        for (int32_t s = 0; s < kSlotCount; ++s) {
            if (input.ConsumeBool()) {
                profile.values[{kDataSection, DataValueName(job, s)}] = ConsumeText(input);
            }
        }
    }
    SetProfileStore(&profile);
    fuzz::ApplyAll(baseline);
    CSaveData().LoadRegistry();
    fuzz::CheckLoadedBuilds();

    // Whatever was read is stored and read back exactly.
    const AllBuilds loaded = CaptureBuilds();
    MemoryProfileStore fresh;
    SetProfileStore(&fresh);
    FUZZ_CHECK(CSaveData().SaveRegistry());
    for (const auto& [key, value] : fresh.values) {
        if (key.first != kDataSection) continue;
        FUZZ_CHECK(value.size() == kNodeCount, static_cast<int>(value.size()));
        for (const char16_t c : value) {
            FUZZ_CHECK((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'), c);
        }
    }
    fuzz::ApplyAll(baseline);
    CSaveData().LoadRegistry();
    FUZZ_CHECK(CaptureBuilds() == loaded);
    SetProfileStore(nullptr);
    return 0;
}
