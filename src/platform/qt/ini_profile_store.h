// The per-user profile as an INI file: $XDG_CONFIG_HOME/Tolvemar/Tolvemar.ini
// (~/.config/Tolvemar/Tolvemar.ini when unset).
#pragma once

#include "shell/profile_store.h"

#include <QSettings>
#include <QString>

#include <memory>

class IniProfileStore : public ProfileStore {
public:
    // The user's profile file.
    IniProfileStore();
    // A profile in the given file (tests, tools).
    explicit IniProfileStore(const QString& filePath);

    int32_t GetProfileInt(const std::u16string& section, const std::u16string& entry,
                          int32_t defaultValue) override;
    bool WriteProfileInt(const std::u16string& section, const std::u16string& entry, int32_t value) override;
    std::u16string GetProfileString(const std::u16string& section, const std::u16string& entry,
                                    const std::u16string& defaultValue = {}) override;
    bool WriteProfileString(const std::u16string& section, const std::u16string& entry,
                            const std::u16string& value) override;
    void BeginBatch() override;
    bool EndBatch() override;

    QString FileName() const;

    // The key under which QSettings keeps an entry: entry names are job
    // titles in any language and may hold '/', '\' or '%', which QSettings
    // would otherwise read as group separators or escapes.
    static QString KeyFor(const std::u16string& section, const std::u16string& entry);

    // Removes the lock file that QSettings keeps beside the profile while it
    // writes, when its owner is gone: nobody holds it, and it is empty or
    // names a process that no longer runs on this machine. True when it was
    // removed.
    static bool ClearStaleLock(const QString& lockPath);

private:
    bool Commit();
    bool Sync();
    static std::unique_ptr<QSettings> OpenSettings(const QString& filePath);
    void ParseWholeFile(const QString& filePath);

    std::unique_ptr<QSettings> m_settings;
    int m_batchDepth = 0;
    bool m_batchFailed = false;
};
