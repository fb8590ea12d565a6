#include "FontFamilies.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRegularExpression>
#include <QSet>

namespace {

// The font database names a family once per foundry ("C059 [urw]"); the
// family name alone selects it.
QString withoutFoundry(QString name)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return name.remove(foundry);
}

int indexIgnoringCase(const QStringList &items, const QString &text)
{
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i].compare(text, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

} // namespace

namespace FontFamilies {

QStringList list(const QStringList &systemFonts)
{
    QStringList names;
    QSet<QString> seen;
    for (const QString &font : systemFonts) {
        const QString name = withoutFoundry(font);
        if (!name.isEmpty() && !seen.contains(name.toCaseFolded())) {
            seen.insert(name.toCaseFolded());
            names << name;
        }
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

int indexOf(const QStringList &list, const QString &name)
{
    int index = int(list.indexOf(name));
    if (index < 0)
        index = indexIgnoringCase(list, name);
    if (index < 0 && !name.isEmpty()) {
        // Not offered: the family the system draws in its place, if any.
        index = indexIgnoringCase(list, withoutFoundry(QFontInfo(QFont(name)).family()));
    }
    return index;
}

QString drawnFamily(const QString &name)
{
    const QStringList fonts = list(QFontDatabase::families());
    const int index = indexOf(fonts, name);
    return index >= 0 ? fonts.at(index) : QString();
}

} // namespace FontFamilies
