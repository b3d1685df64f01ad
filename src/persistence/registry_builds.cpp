#include "persistence/registry_builds.h"

#include "data/lookups.h"
#include "shell/profile_store.h"

namespace {
// The grade that stands for "the job's highest grade" until one is stored.
constexpr int32_t kHighestGrade = 4;

int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

std::u16string WithSlotDigit(const std::u16string& title, int32_t slot) {
    return title + static_cast<char16_t>(u'0' + slot);
}

// Whether the profile holds a value under this name, whatever its text: only
// a value that is not there reads as the default, so two reads with different
// defaults tell the two apart.
bool Holds(ProfileStore& profile, const std::u16string& section, const std::u16string& entry) {
    return !profile.GetProfileString(section, entry, {}).empty() ||
           profile.GetProfileString(section, entry, u"-") != u"-";
}

bool HoldsJobValues(ProfileStore& profile, const std::u16string& title) {
    if (Holds(profile, kSlotSection, title)) return true;
    for (int32_t s = 0; s < kSlotCount; ++s) {
        if (Holds(profile, kDataSection, WithSlotDigit(title, s))) return true;
    }
    return false;
}

// The name a job's values are read under: its title, or, when nothing is
// stored under that, the first of its former titles under which something is.
std::u16string StoredValueName(ProfileStore& profile, int32_t job) {
    const std::u16string title = SlotValueName(job);
    if (HoldsJobValues(profile, title)) return title;
    for (int32_t n = 0; const char16_t* former = GetFormerJobTitle(job, n); ++n) {
        if (former != title && HoldsJobValues(profile, former)) return former;
    }
    return title;
}
}  // namespace

std::u16string SlotValueName(int32_t job) { return GetJobTitle(job, kHighestGrade); }

std::u16string DataValueName(int32_t job, int32_t slot) { return WithSlotDigit(SlotValueName(job), slot); }

std::u16string EncodeLevelText(const int32_t (&levels)[kNodeCount]) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text(kNodeCount, u'0');
    for (int32_t n = 0; n < kNodeCount; ++n) text[n] = kDigits[ClampLevel(levels[n], 15)];
    return text;
}

void DecodeLevelText(std::u16string_view text, const JobLevelCaps& caps, int32_t (&levels)[kNodeCount]) {
    for (int32_t n = 0; n < kNodeCount; ++n) {
        if (static_cast<size_t>(n) < text.size()) {
            const int digit = DigitValue(text[n]);
            if (digit >= 0) levels[n] = digit;
        } else {
            levels[n] = (n == 0 && text.empty()) ? kHighestGrade : 0;
        }
        if (n > 0) levels[n] = ClampLevel(levels[n], caps.maxLevel[n]);
    }
}

bool WriteRegistryBuilds(ProfileStore& profile, const AllBuilds& builds) {
    profile.BeginBatch();
    bool ok = true;
    for (int32_t job = 0; job < kJobCount; ++job) {
        const JobBuilds& jb = builds.jobs[job];
        const std::u16string title = SlotValueName(job);
        ok &= profile.WriteProfileInt(kSlotSection, title, jb.selectedSlot);
        for (int32_t s = 0; s < kSlotCount; ++s) {
            ok &=
                profile.WriteProfileString(kDataSection, DataValueName(job, s), EncodeLevelText(jb.level[s]));
        }
    }
    ok &= profile.EndBatch();
    return ok;
}

AllBuilds ReadRegistryBuilds(ProfileStore& profile, const AllBuilds& current, const LevelCaps& caps) {
    AllBuilds builds = current;
    for (int32_t job = 0; job < kJobCount; ++job) {
        JobBuilds& jb = builds.jobs[job];
        const std::u16string name = StoredValueName(profile, job);
        jb.selectedSlot = SanitizeSlot(profile.GetProfileInt(kSlotSection, name, 0));
        for (int32_t s = 0; s < kSlotCount; ++s) {
            const std::u16string text = profile.GetProfileString(kDataSection, WithSlotDigit(name, s), {});
            DecodeLevelText(text, caps.jobs[job], jb.level[s]);
        }
    }
    return builds;
}
