#include "platform/qt/ini_profile_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>

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

// How long a write waits for the profile's lock ("Tolvemar.ini.lock", the one
// QSettings takes for its own writes) before it gives up and reports a failed
// write. QSettings waits for that lock without limit, which froze the window
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

// A profile larger than this is not one this program wrote: it is left alone
// as a file that could not be read.
constexpr size_t kLargestProfile = 16u << 20;

std::u16string ToPath(const QString& path) { return ToU16(path); }

// Reads the profile's bytes without blocking on a pipe or device: anything
// but a regular file (links followed) is a file that could not be read.
FileRead ReadProfile(const QString& path, std::vector<uint8_t>& bytes, FileStamp& stamp) {
    const FileRead read = ReadFileHead(ToPath(path), kLargestProfile + 1, bytes, &stamp);
    if (read == FileRead::Ok && bytes.size() > kLargestProfile) {
        bytes.clear();
        stamp = {};
        return FileRead::Failed;
    }
    return read;
}

bool WriteCopy(const QString& name, const char* data, qsizetype size) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
    const bool written = file.write(data, size) == size && file.flush();
    file.close();
    if (written && file.error() == QFileDevice::NoError) return true;
    QFile::remove(name);
    return false;
}

}  // namespace

IniProfileStore::IniProfileStore()
    : IniProfileStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/Tolvemar/Tolvemar.ini")) {
    // What QSettings would read after the profile: the file of the whole
    // maker (here the same name as the program) beside the profile's folder,
    // then the system-wide files. The first is the user's and read the same
    // careful way; the others are read by QSettings itself, never written.
    std::vector<uint8_t> bytes;
    FileStamp stamp;
    const QString makerFile = QFileInfo(m_filePath).absolutePath() + QStringLiteral("/../Tolvemar.ini");
    if (ReadProfile(QDir::cleanPath(makerFile), bytes, stamp) == FileRead::Ok) {
        if (std::unique_ptr<QSettings> maker =
                ParseCopy(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())))
            m_fallbacks.push_back(std::move(maker));
    }
    m_fallbacks.push_back(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::SystemScope,
                                                      QStringLiteral("Tolvemar"),
                                                      QStringLiteral("Tolvemar")));
}

IniProfileStore::IniProfileStore(const QString& filePath)
    : m_filePath(QFileInfo(filePath).absoluteFilePath()) {
    std::vector<uint8_t> bytes;
    FileStamp stamp;
    const FileRead read = ReadProfile(m_filePath, bytes, stamp);
    if (read != FileRead::Failed)
        m_view = ParseCopy(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    // Something there that could not be read or parsed is never replaced
    // unread; a profile that is not there is as good as an empty one.
    if (m_view) m_stamp = stamp;
}

IniProfileStore::~IniProfileStore() = default;

// The private folders of the copies: one in the user's temporary folder, and
// one beside the profile for when a copy cannot be made there (a full or
// read-only temporary folder). Each is made when first needed.
QTemporaryDir* IniProfileStore::CopyFolder(int which) {
    std::unique_ptr<QTemporaryDir>& folder = m_copyFolders[which];
    if (!folder || !folder->isValid()) {
        const QString pattern =
            which == 0 ? QDir::tempPath() + QStringLiteral("/tolvemar-profile-XXXXXX")
                       : QFileInfo(m_filePath).absolutePath() + QStringLiteral("/.Tolvemar.ini-XXXXXX");
        folder = std::make_unique<QTemporaryDir>(pattern);
    }
    return folder->isValid() ? folder.get() : nullptr;
}

QString IniProfileStore::NewCopyName(QTemporaryDir& folder) {
    return folder.filePath(QStringLiteral("copy-%1.ini").arg(++m_copyCount));
}

// QSettings keeps every file it has read by name, and a file read again under
// the same name may be taken from there instead of the disk: each copy has a
// name of its own.
std::unique_ptr<QSettings> IniProfileStore::ParseCopy(const char* data, qsizetype size) {
    for (int which = 0; which < 2; ++which) {
        QTemporaryDir* folder = CopyFolder(which);
        if (!folder) continue;
        const QString name = NewCopyName(*folder);
        if (!WriteCopy(name, data, size)) continue;
        auto settings = std::make_unique<QSettings>(name, QSettings::IniFormat);
        (void)settings->allKeys();  // parses every section now, while the copy is there
        QFile::remove(name);
        return settings;
    }
    return nullptr;
}

// The text QSettings writes for the profile `base` with the pending values
// set, in a copy. QSettings reports success over a copy cut short by a full
// disk, so the text is made twice, in two copies that are both kept until
// the second is written: the same bytes twice are the whole text, as a disk
// that filled up cuts the second copy shorter than the first. Empty when the
// text could not be made in either folder.
QByteArray IniProfileStore::Merge(const std::vector<uint8_t>& base) {
    for (int which = 0; which < 2; ++which) {
        QTemporaryDir* folder = CopyFolder(which);
        if (!folder) continue;
        QString names[2];
        QByteArray texts[2];
        bool made = true;
        for (int i = 0; i < 2 && made; ++i) {
            names[i] = NewCopyName(*folder);
            made = WriteCopy(names[i], reinterpret_cast<const char*>(base.data()),
                             static_cast<qsizetype>(base.size()));
            if (!made) break;
            {
                QSettings settings(names[i], QSettings::IniFormat);
                for (const auto& [key, value] : m_pending) settings.setValue(key, value);
                settings.sync();
                // A line QSettings could not parse is no failure of the write.
                made = settings.status() != QSettings::AccessError;
            }
            QFile file(names[i]);
            made = made && file.open(QIODevice::ReadOnly);
            if (made) texts[i] = file.readAll();
            made = made && file.error() == QFileDevice::NoError;
        }
        for (const QString& name : names) {
            if (!name.isEmpty()) QFile::remove(name);
        }
        if (made && !texts[0].isEmpty() && texts[0] == texts[1]) return texts[0];
    }
    return {};
}

QString IniProfileStore::FileName() const { return m_filePath; }

QString IniProfileStore::KeyFor(const std::u16string& section, const std::u16string& entry) {
    return EscapeName(section) + QLatin1Char('/') + EscapeName(entry);
}

QVariant IniProfileStore::Stored(const QString& key) const {
    const auto pending = m_pending.find(key);
    if (pending != m_pending.end()) return QVariant(pending->second);
    if (m_view && m_view->contains(key)) return m_view->value(key);
    for (const auto& fallback : m_fallbacks) {
        if (fallback->contains(key)) return fallback->value(key);
    }
    return {};
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

void IniProfileStore::BeginBatch() { ++m_batchDepth; }

bool IniProfileStore::EndBatch() {
    if (m_batchDepth == 0) return true;
    if (--m_batchDepth > 0) return true;
    return Sync();
}

bool IniProfileStore::Commit() {
    if (m_batchDepth > 0) return true;
    return Sync();
}

bool IniProfileStore::Sync() {
    if (m_pending.empty()) return true;
    // The folder is made here for the lock to go in.
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    const QString lockPath = m_filePath + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!TakeLock(lock, lockPath)) return false;  // the values stay pending
    return WriteUnderLock();
}

// The profile is read again under the lock, so that what another process
// wrote since is kept: the pending values are set over it. When it is not as
// this store last read or wrote it (another program wrote or replaced it, or
// it appeared, or it could not be read before), its bytes are kept as
// "Tolvemar.ini.bak" first, as the save file's are.
bool IniProfileStore::WriteUnderLock() {
    std::vector<uint8_t> current;
    FileStamp stamp;
    const FileRead read = ReadProfile(m_filePath, current, stamp);
    if (read == FileRead::Failed) return false;  // never replaced unread
    const std::u16string path = ToPath(m_filePath);
    if (!KeepChangedFile(path, m_stamp)) return false;
    const QByteArray text = Merge(current);
    if (text.isEmpty()) return false;
    std::unique_ptr<QSettings> merged = ParseCopy(text.constData(), text.size());  // what reads see next
    if (!merged || !WriteFileAtomic(path, text.constData(), static_cast<size_t>(text.size()))) return false;
    m_stamp = StampOf(path);
    m_view = std::move(merged);
    m_pending.clear();
    return true;
}
