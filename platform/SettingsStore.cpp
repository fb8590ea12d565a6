#include "SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

QString SettingsStore::userStorePath(const QString &application)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative path is invalid there and must be ignored, or the store
    // would move with the current folder.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + u'/' + application + u'/' + application + QStringLiteral(".conf");
}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore()
{
    flush();
}

QString SettingsStore::read(const QString &section, const QString &key, const QString &defaultText) const
{
    const QString path = section + u'/' + key;
    if (!m_settings->contains(path))
        return defaultText;
    const QVariant value = m_settings->value(path);
    // A hand-edited line with unquoted commas comes back as a list: keep its text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void SettingsStore::write(const QString &section, const QString &key, const QString &text)
{
    m_settings->setValue(section + u'/' + key, text);
}

bool SettingsStore::flush()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString SettingsStore::path() const
{
    return m_settings->fileName();
}
