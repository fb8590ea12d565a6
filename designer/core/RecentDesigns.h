#pragma once
#include <QString>
#include <QStringList>

// The design files opened or saved last, newest first. Kept in a file of their
// own beside the settings (the settings hold the design, nothing else), and
// written at every change, so that a second window sees them too.
class RecentDesigns {
public:
    static constexpr int kMost = 4;

    explicit RecentDesigns(QString file);
    QStringList paths() const;
    void add(const QString &path); // to the front, once
    void remove(const QString &path); // one that could not be opened

private:
    void write(const QStringList &paths);

    QString m_file;
};
