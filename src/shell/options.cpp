#include "shell/options.h"

#include "shell/profile_store.h"

AppOptions g_Options;

namespace {
uint8_t ReadFlag(ProfileStore& profile, const char16_t* entry, int32_t defaultValue) {
    return profile.GetProfileInt(kOptionSection, entry, defaultValue) != 0 ? 1 : 0;
}
}  // namespace

AppOptions ReadOptions(ProfileStore& profile) {
    AppOptions options;
    options.SkillInfo = ReadFlag(profile, u"SkillInfo", 1);
    options.AutoChange = ReadFlag(profile, u"AutoChange", 1);
    options.AutoCenter = ReadFlag(profile, u"AutoCenter", 0);
    options.AutoSave = ReadFlag(profile, u"AutoSave", 1);
    options.SexType = ReadFlag(profile, u"SexType", 0);
    options.AutoUpdate = ReadFlag(profile, u"AutoUpdate", 1);
    options.SaveToFile = ReadFlag(profile, u"SaveToFile", 0);
    const int32_t language = profile.GetProfileInt(kOptionSection, u"Language", -1);
    options.Language = (language >= -1 && language <= 2) ? language : -1;
    return options;
}

bool WriteOptions(ProfileStore& profile, const AppOptions& options) {
    profile.BeginBatch();
    bool ok = true;
    ok &= profile.WriteProfileInt(kOptionSection, u"SkillInfo", options.SkillInfo);
    ok &= profile.WriteProfileInt(kOptionSection, u"AutoChange", options.AutoChange);
    ok &= profile.WriteProfileInt(kOptionSection, u"AutoCenter", options.AutoCenter);
    ok &= profile.WriteProfileInt(kOptionSection, u"AutoSave", options.AutoSave);
    ok &= profile.WriteProfileInt(kOptionSection, u"SexType", options.SexType);
    ok &= profile.WriteProfileInt(kOptionSection, u"AutoUpdate", options.AutoUpdate);
    ok &= profile.WriteProfileInt(kOptionSection, u"SaveToFile", options.SaveToFile);
    ok &= profile.WriteProfileInt(kOptionSection, u"Language", options.Language);
    ok &= profile.EndBatch();
    return ok;
}
