// The per-user profile: named sections of named 32-bit integers and strings,
// kept across runs. Anything absent reads as the caller's default.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual int32_t GetProfileInt(const std::u16string& section, const std::u16string& entry,
                                  int32_t defaultValue) = 0;
    // False when the value could not be stored.
    virtual bool WriteProfileInt(const std::u16string& section, const std::u16string& entry,
                                 int32_t value) = 0;
    virtual std::u16string GetProfileString(const std::u16string& section, const std::u16string& entry,
                                            const std::u16string& defaultValue = {}) = 0;
    virtual bool WriteProfileString(const std::u16string& section, const std::u16string& entry,
                                    const std::u16string& value) = 0;
    // Writes are kept in memory until EndBatch while a batch is open; a batch
    // lets a caller store many values with one write of the backing file.
    virtual void BeginBatch() {}
    // Ends a batch and writes what it holds, together with every value still
    // waiting since a failed write; false when that failed (the values then
    // still wait, and reads see them).
    virtual bool EndBatch() { return true; }
};

// Keeps everything in memory; the store of tests and of a program without a
// profile.
class MemoryProfileStore : public ProfileStore {
public:
    int32_t GetProfileInt(const std::u16string& section, const std::u16string& entry,
                          int32_t defaultValue) override;
    bool WriteProfileInt(const std::u16string& section, const std::u16string& entry, int32_t value) override;
    std::u16string GetProfileString(const std::u16string& section, const std::u16string& entry,
                                    const std::u16string& defaultValue = {}) override;
    bool WriteProfileString(const std::u16string& section, const std::u16string& entry,
                            const std::u16string& value) override;

    // Test hooks: make every later write fail; count writes.
    bool failWrites = false;
    int writeCount = 0;
    std::map<std::pair<std::u16string, std::u16string>, std::u16string> values;
};

// The process-wide profile. Never null: starts as an in-memory store.
ProfileStore& Profile();
// Installs the profile the program uses (not owned); nullptr restores the
// built-in in-memory store.
void SetProfileStore(ProfileStore* store);

// Parses a whole decimal 32-bit integer ("-12", "+7"); false for anything else.
bool ParseInt32(const std::u16string& text, int32_t& value);
