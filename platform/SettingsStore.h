#pragma once
#include <QString>
#include <memory>

class QSettings;

// The per-user settings store: (section, key) -> text for one application.
// Backed by an INI file; reading a missing key gives the default, writing
// creates or replaces, nothing is ever deleted. Key case is kept exactly.
class SettingsStore {
public:
    // The real user's store: $XDG_CONFIG_HOME/<application>/<application>.conf
    // (~/.config when XDG_CONFIG_HOME is unset).
    static QString userStorePath(const QString &application);

    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();

    QString read(const QString &section, const QString &key, const QString &defaultText) const;
    void write(const QString &section, const QString &key, const QString &text);
    // Writes are buffered; flush puts them on disk (the destructor flushes
    // too). False when the file could not be written.
    bool flush();
    QString path() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
