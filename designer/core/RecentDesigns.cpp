#include "RecentDesigns.h"
#include "SettingsStore.h"

#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("Recent designs");
}

RecentDesigns::RecentDesigns(QString file)
    : m_file(std::move(file))
{
}

QStringList RecentDesigns::paths() const
{
    const SettingsStore store(m_file, SettingsStore::Access::ReadOnly);
    QStringList paths;
    for (int i = 1; i <= kMost; ++i) {
        const QString path = store.read(kSection, QString::number(i), QString());
        if (!path.isEmpty() && !paths.contains(path))
            paths << path;
    }
    return paths;
}

void RecentDesigns::add(const QString &path)
{
    QStringList paths = this->paths();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    write(paths.mid(0, kMost));
}

void RecentDesigns::remove(const QString &path)
{
    QStringList paths = this->paths();
    paths.removeAll(QFileInfo(path).absoluteFilePath());
    write(paths);
}

void RecentDesigns::write(const QStringList &paths)
{
    SettingsStore store(m_file);
    for (int i = 1; i <= kMost; ++i)
        store.write(kSection, QString::number(i), paths.value(i - 1));
    // A list that cannot be kept is no reason to bother anybody.
    store.flush();
}
