#include "SettingsStore.h"
#include "AtomicFile.h"
#include "QuillError.h"
#include "WorkingFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool plainAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
        || c == u'-' || c == u'.';
}

bool hexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Section and key names as QSettings spells them in an INI file.
QByteArray iniKey(const QString &key)
{
    QByteArray out;
    for (QChar ch : key) {
        const char16_t c = ch.unicode();
        if (c == u'/')
            out += '\\';
        else if (plainAscii(c))
            out += char(c);
        else if (c <= 0xFF)
            out += '%' + QByteArray::number(c, 16).rightJustified(2, '0').toUpper();
        else
            out += "%U" + QByteArray::number(c, 16).rightJustified(4, '0').toUpper();
    }
    return out;
}

// A text value as QSettings reads it back unchanged: quoted unless plain, "\"
// escapes, and a leading "@" doubled (QSettings keeps "@..." for typed values).
QByteArray iniValue(QString text)
{
    if (text.startsWith(u'@'))
        text.prepend(u'@');
    const bool plain
        = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return plainAscii(c.unicode()); });
    if (plain)
        return text.toUtf8();
    QByteArray out = "\"";
    bool afterHexEscape = false;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        // A "\x" escape takes every hex digit after it, so one that follows is escaped too.
        if (c < 0x20 || c == 0x7F || (afterHexEscape && hexDigit(c))) {
            out += "\\x" + QByteArray::number(c, 16);
            afterHexEscape = true;
            continue;
        }
        afterHexEscape = false;
        if (c == u'"' || c == u'\\')
            out += '\\';
        out += QString(ch).toUtf8();
    }
    return out + '"';
}

QString systemReason() { return QString::fromLocal8Bit(std::strerror(errno)); }

// The file's bytes, through one descriptor that never waits: a pipe or a
// device at the file's place must not stop the program. A link is followed (a
// link to the settings is legal), but only to an ordinary file. No bytes and
// no failure when there is no file.
std::optional<QByteArray> readSettingsFile(const QString &path, QString *failure)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            *failure = systemReason();
        return std::nullopt;
    }
    const QString tooLarge = QStringLiteral("it is larger than %1 bytes, the most a settings file may hold")
                                 .arg(SettingsStore::kLargestFile);
    QByteArray bytes;
    struct stat info;
    if (::fstat(fd, &info) != 0)
        *failure = systemReason();
    else if (!S_ISREG(info.st_mode))
        *failure = QStringLiteral("it is not an ordinary file but a folder, a device or a pipe");
    else if (info.st_size > SettingsStore::kLargestFile)
        *failure = tooLarge;
    // Read to the end, not to the size measured: the file may have grown since.
    char chunk[64 * 1024];
    while (failure->isEmpty()) {
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            *failure = systemReason();
        if (count <= 0)
            break;
        bytes.append(chunk, count);
        if (bytes.size() > SettingsStore::kLargestFile)
            *failure = tooLarge;
    }
    ::close(fd);
    if (!failure->isEmpty())
        return std::nullopt;
    return bytes;
}

// QSettings parses only a file it opens by name, so the bytes are handed to it
// as a file in memory. It keeps what it parsed under the file's name and parses
// again only when the size or the time differ; descriptor names recur, so each
// such file gets a time of its own.
bool parseIni(const QByteArray &bytes, QSettings::SettingsMap *keys, QString *failure)
{
    static std::atomic<qint64> stamp{0};
    const int fd = ::memfd_create("quillmark-settings", MFD_CLOEXEC);
    if (fd < 0) {
        *failure = systemReason();
        return true;
    }
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.constData() + written, bytes.size() - written);
        if (count < 0 && errno != EINTR) {
            *failure = systemReason();
            ::close(fd);
            return true;
        }
        written += std::max<ssize_t>(count, 0);
    }
    const timespec time{.tv_sec = ++stamp, .tv_nsec = 0};
    const timespec times[2] = {time, time};
    ::futimens(fd, times);
    bool wellFormed = true;
    {
        const QSettings file(QStringLiteral("/proc/self/fd/%1").arg(fd), QSettings::IniFormat);
        for (const QString &key : file.allKeys())
            keys->insert(key, file.value(key));
        wellFormed = file.status() != QSettings::FormatError;
    }
    ::close(fd);
    return wellFormed;
}

} // namespace

QString SettingsStore::userStorePath(const QString &application)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative path is invalid there and must be ignored, or the store
    // would move with the current folder.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + u'/' + application + u'/' + application + QStringLiteral(".conf");
}

SettingsStore::SettingsStore(const QString &iniPath, Access access)
    : m_path(iniPath)
    , m_access(access)
{
    // Opening the store to write it is the program's start: what a killed run left beside it goes.
    if (access == Access::ReadWrite)
        WorkingFiles::sweep(QFileInfo(iniPath).absolutePath());
    const std::optional<QByteArray> bytes = readSettingsFile(iniPath, &m_readFailure);
    m_exists = bytes || !m_readFailure.isEmpty();
    QSettings::SettingsMap keys;
    if (bytes)
        m_wellFormed = parseIni(*bytes, &keys, &m_readFailure);
    for (auto entry = keys.cbegin(); entry != keys.cend(); ++entry) {
        const QString &path = entry.key();
        const qsizetype slash = path.indexOf(u'/');
        const QVariant &value = entry.value();
        // A hand-edited line with unquoted commas comes back as a list: keep its text.
        const QString text
            = value.typeId() == QMetaType::QStringList ? value.toStringList().join(u',') : value.toString();
        if (slash < 0)
            m_sections[QString()][path] = text;
        else
            m_sections[path.left(slash)][path.mid(slash + 1)] = text;
    }
}

SettingsStore::~SettingsStore() { flush(); }

QString SettingsStore::read(const QString &section, const QString &key, const QString &defaultText) const
{
    const auto found = m_sections.constFind(section);
    return found == m_sections.cend() ? defaultText : found->value(key, defaultText);
}

void SettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    QMap<QString, QString> &keys = m_sections[section];
    const auto found = keys.constFind(key);
    if (found != keys.cend() && *found == text)
        return;
    keys[key] = text;
    m_changed = true;
}

bool SettingsStore::exists() const { return m_exists; }

QString SettingsStore::readFailure() const { return m_readFailure; }

bool SettingsStore::wellFormed() const { return m_wellFormed; }

QString SettingsStore::flush()
{
    // A file that could not be read may hold what the user wants kept.
    if (!m_changed || m_access == Access::ReadOnly || !m_readFailure.isEmpty())
        return {};
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    try {
        AtomicFile::write(m_path, iniText(m_sections), AtomicFile::Sync::Yes);
    } catch (const QuillError &error) {
        return QStringLiteral("The settings were not saved. %1").arg(error.description());
    }
    m_changed = false;
    return {};
}

QByteArray SettingsStore::iniText(const Sections &sections)
{
    QByteArray ini;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        if (!ini.isEmpty())
            ini += '\n';
        const QString &name = section.key();
        ini += name.isEmpty()                                    ? QByteArray("[General]")
            : name.compare(u"General", Qt::CaseInsensitive) == 0 ? "[%" + iniKey(name) + ']'
                                                                 : '[' + iniKey(name) + ']';
        ini += '\n';
        for (auto key = section->cbegin(); key != section->cend(); ++key)
            ini += iniKey(key.key()) + '=' + iniValue(key.value()) + '\n';
    }
    return ini;
}

const SettingsStore::Sections &SettingsStore::sections() const { return m_sections; }

QString SettingsStore::path() const { return m_path; }
