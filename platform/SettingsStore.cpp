#include "SettingsStore.h"
#include "AtomicFile.h"
#include "QuillError.h"
#include "WorkingFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <algorithm>

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
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return plainAscii(c.unicode()); });
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

SettingsStore::SettingsStore(const QString &iniPath) : m_path(iniPath)
{
    // Opening the store is the program's start: what a killed run left beside it goes.
    WorkingFiles::sweep(QFileInfo(iniPath).absolutePath());
    const QSettings file(iniPath, QSettings::IniFormat);
    for (const QString &path : file.allKeys()) {
        const qsizetype slash = path.indexOf(u'/');
        const QVariant value = file.value(path);
        // A hand-edited line with unquoted commas comes back as a list: keep its text.
        const QString text = value.typeId() == QMetaType::QStringList ? value.toStringList().join(u',')
                                                                       : value.toString();
        if (slash < 0)
            m_sections[QString()][path] = text;
        else
            m_sections[path.left(slash)][path.mid(slash + 1)] = text;
    }
}

SettingsStore::~SettingsStore()
{
    flush();
}

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

QString SettingsStore::flush()
{
    if (!m_changed)
        return {};
    QByteArray ini;
    for (auto section = m_sections.cbegin(); section != m_sections.cend(); ++section) {
        if (!ini.isEmpty())
            ini += '\n';
        const QString &name = section.key();
        ini += name.isEmpty()                                   ? QByteArray("[General]")
            : name.compare(u"General", Qt::CaseInsensitive) == 0 ? "[%" + iniKey(name) + ']'
                                                                 : '[' + iniKey(name) + ']';
        ini += '\n';
        for (auto key = section->cbegin(); key != section->cend(); ++key)
            ini += iniKey(key.key()) + '=' + iniValue(key.value()) + '\n';
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    try {
        AtomicFile::write(m_path, ini, AtomicFile::Sync::Yes);
    } catch (const QuillError &error) {
        return QStringLiteral("The settings were not saved. %1").arg(error.description());
    }
    m_changed = false;
    return {};
}

QString SettingsStore::path() const
{
    return m_path;
}
