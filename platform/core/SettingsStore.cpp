#include "SettingsStore.h"
#include "AtomicFile.h"
#include "IniText.h"
#include "QuillError.h"
#include "WorkingFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    if (bytes)
        m_wellFormed = IniText::read(*bytes, &m_sections);
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

QByteArray SettingsStore::iniText(const Sections &sections) { return IniText::write(sections); }

const SettingsStore::Sections &SettingsStore::sections() const { return m_sections; }

QString SettingsStore::path() const { return m_path; }
