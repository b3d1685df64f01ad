#include "platform/qt/ini_profile_store.h"

namespace {
QString FromU16(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<size_t>(text.size()));
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
}  // namespace

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

QString IniProfileStore::fileName() const { return m_settings->fileName(); }

QString IniProfileStore::KeyFor(const std::u16string& section, const std::u16string& entry) {
    return EscapeName(section) + QLatin1Char('/') + EscapeName(entry);
}

int32_t IniProfileStore::GetProfileInt(const std::u16string& section,
                                       const std::u16string& entry, int32_t defaultValue) {
    const QVariant stored = m_settings->value(KeyFor(section, entry));
    if (!stored.isValid()) return defaultValue;
    int32_t value = defaultValue;
    if (!ParseInt32(ToU16(stored.toString().trimmed()), value)) return defaultValue;
    return value;
}

bool IniProfileStore::WriteProfileInt(const std::u16string& section,
                                      const std::u16string& entry, int32_t value) {
    m_settings->setValue(KeyFor(section, entry), QString::number(value));
    return Commit();
}

std::u16string IniProfileStore::GetProfileString(const std::u16string& section,
                                                 const std::u16string& entry,
                                                 const std::u16string& defaultValue) {
    const QVariant stored = m_settings->value(KeyFor(section, entry));
    if (!stored.isValid()) return defaultValue;
    return ToU16(stored.toString());
}

bool IniProfileStore::WriteProfileString(const std::u16string& section,
                                         const std::u16string& entry,
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
    m_settings->sync();
    const bool ok = m_settings->status() == QSettings::NoError && !m_batchFailed;
    m_batchFailed = false;
    return ok;
}

bool IniProfileStore::Commit() {
    if (m_batchDepth > 0) return true;
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
