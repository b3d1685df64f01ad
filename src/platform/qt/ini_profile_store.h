// The per-user profile as an INI file: $XDG_CONFIG_HOME/Tolvemar/Tolvemar.ini
// (~/.config/Tolvemar/Tolvemar.ini when unset).
#pragma once

#include "shell/profile_store.h"

#include <QSettings>
#include <QString>
#include <QVariant>

#include <map>
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

private:
    bool Commit();
    bool Sync();
    QVariant Stored(const QString& key) const;
    static std::unique_ptr<QSettings> OpenSettings(const QString& filePath);
    void ParseWholeFile(const QString& filePath);

    std::unique_ptr<QSettings> m_settings;
    // Values written and not yet in the file. They reach QSettings only for
    // its write under the lock, so QSettings never holds a change that it
    // would write on its own, waiting for the lock without limit.
    std::map<QString, QString> m_pending;
    int m_batchDepth = 0;
    bool m_batchFailed = false;
};
