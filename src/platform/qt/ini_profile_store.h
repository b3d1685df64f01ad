// The per-user profile as an INI file: $XDG_CONFIG_HOME/Tolvemar/Tolvemar.ini
// (~/.config/Tolvemar/Tolvemar.ini when unset).
//
// QSettings parses and writes the INI text, but only in copies of the store's
// own in a private folder: it never opens the profile itself. The profile's
// bytes are read here (a pipe or anything else that is not a regular file is
// never opened), and written here, whole, through WriteFileAtomic, which
// fails on a full disk where QSettings' own write reports success over a cut
// file. Every write happens under the profile's lock, taken within a bound.
#pragma once

#include "platform/file_io.h"
#include "shell/profile_store.h"

#include <QSettings>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class QTemporaryDir;

class IniProfileStore : public ProfileStore {
public:
    // The user's profile file, with the system-wide files under
    // $XDG_CONFIG_DIRS as fallbacks for what it does not hold.
    IniProfileStore();
    // A profile in the given file (tests, tools), with no fallbacks.
    explicit IniProfileStore(const QString& filePath);
    ~IniProfileStore() override;

    int32_t GetProfileInt(const std::u16string& section, const std::u16string& entry,
                          int32_t defaultValue) override;
    // A value whose write fails waits for the next write, and reads see it.
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
    bool WriteUnderLock();
    QVariant Stored(const QString& key) const;
    std::unique_ptr<QSettings> ParseCopy(const char* data, qsizetype size);
    QByteArray Merge(const std::vector<uint8_t>& base);
    QTemporaryDir* CopyFolder(int which);
    QString NewCopyName(QTemporaryDir& folder);

    QString m_filePath;
    // The private folders of the copies QSettings reads and writes.
    std::unique_ptr<QTemporaryDir> m_copyFolders[2];
    int m_copyCount = 0;
    // The profile as last read or written.
    std::unique_ptr<QSettings> m_view;
    // Read-only fallbacks, in the order QSettings would consult them.
    std::vector<std::unique_ptr<QSettings>> m_fallbacks;
    // The profile file as last read or written; empty when something was
    // there that could not be read, which is then never replaced unread.
    std::optional<FileStamp> m_stamp;
    // Values written and not yet in the file.
    std::map<QString, QString> m_pending;
    int m_batchDepth = 0;
};
