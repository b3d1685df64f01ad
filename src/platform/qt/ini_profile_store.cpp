#include "platform/qt/ini_profile_store.h"

#include <QFile>
#include <QSysInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <ctime>

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

// Milliseconds since the file's last change.
long long AgeInMilliseconds(const struct stat& info) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return (now.tv_sec - info.st_mtim.tv_sec) * 1000LL + (now.tv_nsec - info.st_mtim.tv_nsec) / 1000000;
}

// The lock file holds one line each: process id, program name, host name,
// machine id and boot id. True when the process it names may still run: a
// process of this machine and boot that exists, or one of another machine,
// which cannot be checked from here.
bool OwnerMayRun(const QByteArray& content) {
    const QList<QByteArray> lines = content.split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0) return false;
    const QByteArray host = lines.value(2);
    const QByteArray hostId = lines.value(3);
    const QByteArray bootId = lines.value(4);
    bool sameHost = host.isEmpty() || QString::fromUtf8(host) == QSysInfo::machineHostName();
    const QByteArray ourHostId = QSysInfo::machineUniqueId();
    if (!hostId.isEmpty() && !ourHostId.isEmpty()) sameHost = hostId == ourHostId;
    if (!sameHost) return true;
    if (!bootId.isEmpty() && bootId != QSysInfo::bootUniqueId()) return false;
    return !(::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH);
}

// An empty lock this young may belong to a process that has created it and
// is about to lock it and write its lines.
constexpr long long kFreshLockMs = 200;

}  // namespace

bool IniProfileStore::ClearStaleLock(const QString& lockPath) {
    // QSettings makes the lock with QLockFile, which holds a flock on it for
    // as long as it owns it. A process killed between creating the file and
    // writing its lines leaves an empty lock that QLockFile waits out for
    // 30 s, which froze every profile write of the next run. A lock that
    // nobody holds and whose owner is gone is removed here, under a flock of
    // its own, as QLockFile removes a stale lock.
    const QByteArray name = QFile::encodeName(lockPath);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat info {};
        struct stat now {};
        bool stale = false;
        long long waitMs = 0;
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            QByteArray content(4096, '\0');
            const ssize_t got = ::read(fd, content.data(), static_cast<size_t>(content.size()));
            content.resize(got > 0 ? got : 0);
            const long long age = AgeInMilliseconds(info);
            if (content.isEmpty() && age >= 0 && age < kFreshLockMs) {
                waitMs = kFreshLockMs - age;
            } else {
                stale = !OwnerMayRun(content) && ::stat(name.constData(), &now) == 0 &&
                        now.st_dev == info.st_dev && now.st_ino == info.st_ino &&
                        ::unlink(name.constData()) == 0;
            }
        }
        ::close(fd);
        if (waitMs == 0) return stale;
        ::usleep(static_cast<useconds_t>(waitMs * 1000));
    }
    return false;
}

std::unique_ptr<QSettings> IniProfileStore::OpenSettings(const QString& filePath) {
    if (filePath.isEmpty()) {
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           QStringLiteral("Tolvemar"), QStringLiteral("Tolvemar"));
    }
    return std::make_unique<QSettings>(filePath, QSettings::IniFormat);
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

int32_t IniProfileStore::GetProfileInt(const std::u16string& section, const std::u16string& entry,
                                       int32_t defaultValue) {
    const QVariant stored = m_settings->value(KeyFor(section, entry));
    if (!stored.isValid()) return defaultValue;
    int32_t value = defaultValue;
    if (!ParseInt32(ToU16(stored.toString().trimmed()), value)) return defaultValue;
    return value;
}

bool IniProfileStore::WriteProfileInt(const std::u16string& section, const std::u16string& entry,
                                      int32_t value) {
    m_settings->setValue(KeyFor(section, entry), QString::number(value));
    return Commit();
}

std::u16string IniProfileStore::GetProfileString(const std::u16string& section, const std::u16string& entry,
                                                 const std::u16string& defaultValue) {
    const QVariant stored = m_settings->value(KeyFor(section, entry));
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
    m_settings->setValue(KeyFor(section, entry), FromU16(value));
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
    ClearStaleLock(m_settings->fileName() + QStringLiteral(".lock"));
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
