#include "shell/profile_store.h"

namespace {
MemoryProfileStore& BuiltinStore() {
    static MemoryProfileStore store;
    return store;
}
ProfileStore* installedProfile = nullptr;

std::u16string ToText(int32_t value) {
    const std::string ascii = std::to_string(value);
    return std::u16string(ascii.begin(), ascii.end());
}
}  // namespace

ProfileStore& Profile() { return installedProfile ? *installedProfile : BuiltinStore(); }

void SetProfileStore(ProfileStore* store) { installedProfile = store; }

bool ParseInt32(const std::u16string& text, int32_t& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= text.size()) return false;
    int64_t result = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9') return false;
        result = result * 10 + (c - u'0');
        if (result > 2147483648LL) return false;
    }
    if (negative) result = -result;
    if (result > INT32_MAX || result < INT32_MIN) return false;
    value = static_cast<int32_t>(result);
    return true;
}

int32_t MemoryProfileStore::GetProfileInt(const std::u16string& section, const std::u16string& entry,
                                          int32_t defaultValue) {
    const auto it = values.find({section, entry});
    int32_t value = defaultValue;
    if (it == values.end() || !ParseInt32(it->second, value)) return defaultValue;
    return value;
}

bool MemoryProfileStore::WriteProfileInt(const std::u16string& section, const std::u16string& entry,
                                         int32_t value) {
    return WriteProfileString(section, entry, ToText(value));
}

std::u16string MemoryProfileStore::GetProfileString(const std::u16string& section,
                                                    const std::u16string& entry,
                                                    const std::u16string& defaultValue) {
    const auto it = values.find({section, entry});
    return it == values.end() ? defaultValue : it->second;
}

bool MemoryProfileStore::WriteProfileString(const std::u16string& section, const std::u16string& entry,
                                            const std::u16string& value) {
    ++writeCount;
    if (failWrites) return false;
    values[{section, entry}] = value;
    return true;
}
