#pragma once
#include "IniText.h"

#include <QString>

// The per-user settings store: (section, key) -> text for one application.
// Kept in an INI file (IniText) that QSettings reads as well; reading a
// missing key gives the default, writing creates or replaces, nothing is ever
// deleted. Key case is kept exactly.
class SettingsStore {
public:
    // Section -> key -> text; the section "" is INI's [General].
    using Sections = IniText::Sections;
    // A design takes a few kilobytes; a larger file is refused before it is parsed.
    static constexpr qint64 kLargestFile = 1024 * 1024;
    // ReadOnly keeps what is written in memory only: the file is never written.
    enum class Access { ReadWrite, ReadOnly };

    // The real user's store: $XDG_CONFIG_HOME/<application>/<application>.conf
    // (~/.config when XDG_CONFIG_HOME is unset).
    static QString userStorePath(const QString &application);

    // Reads the file without ever waiting: only an ordinary file (or a link to
    // one) of at most kLargestFile bytes is read. A store whose file is there
    // but cannot be read starts empty and never replaces that file.
    explicit SettingsStore(const QString &iniPath, Access access = Access::ReadWrite);
    // Flushes; a failure there has nobody to tell, so call flush() first.
    ~SettingsStore();

    // False when there was no file to read (the first run).
    bool exists() const;
    // Why the file cannot be read, without its name ("it is not an ordinary
    // file"); the empty text when it was read or is not there.
    QString readFailure() const;
    // False when part of the file is not in the INI form; what came before the
    // fault is read all the same.
    bool wellFormed() const;

    QString read(const QString &section, const QString &key, const QString &defaultText) const;
    void write(const QString &section, const QString &key, const QString &text);
    // Puts changed settings on disk: the file is replaced by a complete new one
    // or stays as it was. The empty text on success, else a message naming the
    // file and the reason ("Cannot write "...": No space left on device.").
    QString flush();
    QString path() const;
    // Everything read or written, by section.
    const Sections &sections() const;
    // Sections in the INI form QSettings reads back unchanged.
    static QByteArray iniText(const Sections &sections);

private:
    QString m_path;
    Access m_access;
    bool m_exists = false;
    bool m_wellFormed = true;
    QString m_readFailure;
    Sections m_sections;
    bool m_changed = false;
};
