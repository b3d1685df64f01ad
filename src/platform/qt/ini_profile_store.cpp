#include "platform/qt/ini_profile_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>

namespace {
QString FromU16(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

QString EscapeName(const std::u16string& name) {
    QString escaped;
    escaped.reserve(static_cast<qsizetype>(name.size()));
    for (const char16_t c : name) {
        switch (c) {
        case u'%': escaped += QStringLiteral("%25"); break;
        case u'/': escaped += QStringLiteral("%2F"); break;
        case u'\\': escaped += QStringLiteral("%5C"); break;
        default: escaped += QChar(c); break;
        }
    }
    return escaped;
}

// How long a write waits for the lock that QSettings keeps beside the
// profile ("Tolvemar.ini.lock") before it gives up and reports a failed write.
// QSettings itself waits for that lock without limit, which froze the window
// while another process held it, or for ever when it could never be taken.
constexpr std::chrono::milliseconds kLockWait{750};

// QLockFile takes a lock whose owner it cannot read (an empty file, or one
// it did not write) for stale only after 30 s. A writer creates its lock,
// locks it and writes its owner into it at once; one that is still unreadable
// and unlocked after this long was left by a process that died in between.
constexpr std::chrono::milliseconds kUnreadOwnerStaleTime{200};

// True when nothing is at the lock's path, or a regular file this user may
// open for writing, as QLockFile opens it to lock it before it removes a
// stale one. Anything else, such as a folder or a link, is neither followed
// nor removed: no write can take it.
bool IsUsableLock(const QString& lockPath) {
    const QByteArray name = QFile::encodeName(lockPath);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0) return errno == ENOENT;
    if (!S_ISREG(info.st_mode)) return false;
    const int fd = ::open(name.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    ::close(fd);
    return true;
}

// Takes the profile's lock within kLockWait. A lock that a live process holds
// is never removed: QLockFile removes a stale one only after locking it
// itself, which fails while its owner holds it.
bool TakeLock(QLockFile& lock, const QString& lockPath) {
    if (!IsUsableLock(lockPath)) return false;
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock.getLockInfo(&pid, &host, &program)) lock.setStaleLockTime(kUnreadOwnerStaleTime);
    return lock.tryLock(kLockWait);
}

}  // namespace

std::unique_ptr<QSettings> IniProfileStore::OpenSettings(const QString& filePath) {
    std::unique_ptr<QSettings> settings =
        filePath.isEmpty()
            ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                          QStringLiteral("Tolvemar"), QStringLiteral("Tolvemar"))
            : std::make_unique<QSettings>(filePath, QSettings::IniFormat);
    // After a change QSettings writes the file again from the event loop, and
    // such a write waits for the lock without limit. With no thread it gets
    // no events: the file is written only by Sync, whose sync() also leaves
    // it nothing to write when it is destroyed.
    settings->moveToThread(nullptr);
    return settings;
}

IniProfileStore::IniProfileStore() : m_settings(OpenSettings({})) { ParseWholeFile({}); }

IniProfileStore::IniProfileStore(const QString& filePath) : m_settings(OpenSettings(filePath)) {
    ParseWholeFile(filePath);
}

void IniProfileStore::ParseWholeFile(const QString& filePath) {
    // QSettings parses sections lazily, and a malformed line (such as stray
    // text before the first section) sets a format error that then sticks to
    // the object: every later sync reports it, although the line is skipped and
    // the file is written normally. Parse everything now; after a format
    // error, go on with a fresh object over the parsed file (opened while the
    // first still holds it, so it is not read again), so that a write reports
    // its own failure and nothing else.
    (void)m_settings->allKeys();
    if (m_settings->status() != QSettings::FormatError) return;
    std::unique_ptr<QSettings> fresh = OpenSettings(filePath);
    m_settings = std::move(fresh);
}

QString IniProfileStore::FileName() const { return m_settings->fileName(); }

QString IniProfileStore::KeyFor(const std::u16string& section, const std::u16string& entry) {
    return EscapeName(section) + QLatin1Char('/') + EscapeName(entry);
}

QVariant IniProfileStore::Stored(const QString& key) const {
    const auto pending = m_pending.find(key);
    return pending != m_pending.end() ? QVariant(pending->second) : m_settings->value(key);
}

int32_t IniProfileStore::GetProfileInt(const std::u16string& section, const std::u16string& entry,
                                       int32_t defaultValue) {
    const QVariant stored = Stored(KeyFor(section, entry));
    if (!stored.isValid()) return defaultValue;
    int32_t value = defaultValue;
    if (!ParseInt32(ToU16(stored.toString().trimmed()), value)) return defaultValue;
    return value;
}

bool IniProfileStore::WriteProfileInt(const std::u16string& section, const std::u16string& entry,
                                      int32_t value) {
    m_pending[KeyFor(section, entry)] = QString::number(value);
    return Commit();
}

std::u16string IniProfileStore::GetProfileString(const std::u16string& section, const std::u16string& entry,
                                                 const std::u16string& defaultValue) {
    const QVariant stored = Stored(KeyFor(section, entry));
    if (!stored.isValid()) return defaultValue;
    // QSettings reads a value with commas written by hand (x=1,2,3) as a list;
    // its text is the parts QSettings read, joined again.
    if (stored.typeId() == QMetaType::QStringList || stored.typeId() == QMetaType::QVariantList)
        return ToU16(stored.toStringList().join(u','));
    // A spelling QSettings reads as a value without text, such as @Rect(...).
    if (!stored.canConvert<QString>()) return defaultValue;
    return ToU16(stored.toString());
}

bool IniProfileStore::WriteProfileString(const std::u16string& section, const std::u16string& entry,
                                         const std::u16string& value) {
    m_pending[KeyFor(section, entry)] = FromU16(value);
    return Commit();
}

void IniProfileStore::BeginBatch() {
    if (m_batchDepth++ == 0) m_batchFailed = false;
}

bool IniProfileStore::EndBatch() {
    if (m_batchDepth == 0) return true;
    if (--m_batchDepth > 0) return true;
    const bool ok = Sync() && !m_batchFailed;
    m_batchFailed = false;
    return ok;
}

bool IniProfileStore::Commit() {
    if (m_batchDepth > 0) return true;
    return Sync();
}

bool IniProfileStore::Sync() {
    if (m_pending.empty()) return true;
    const QString filePath = m_settings->fileName();
    if (m_settings->status() != QSettings::NoError) {
        // QSettings reports its first failed write on every later one: a
        // fresh object over the file lets this write try again.
        m_settings = OpenSettings(filePath);
        ParseWholeFile(filePath);
    }
    // The folder is made here, as QSettings would, for the lock to go in.
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    {
        const QString lockPath = filePath + QStringLiteral(".lock");
        QLockFile lock(lockPath);
        if (!TakeLock(lock, lockPath)) return false;
        for (const auto& [key, value] : m_pending) m_settings->setValue(key, value);
    }
    // QSettings takes the same lock for its write and would wait for ours, so
    // ours is released just before. Taking it first settled that it can be
    // taken now: a stale one is gone, and nobody holds it. In the moment
    // between, another writer may take it; QSettings then waits until that
    // writer is done.
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) return false;  // the values stay pending
    m_pending.clear();
    return true;
}
