#pragma once
#include "Design.h"

#include <QString>

// A design's texts by "Section/key", as its files name them.

// A design's text under "Section/key".
inline QString textAt(const Design &design, const QString &place)
{
    for (const DesignKeys::Entry &entry : DesignKeys::all())
        if (entry.section + u'/' + entry.name == place)
            return design.text(entry.key);
    return QStringLiteral("<no such key>");
}

// "Section/key=text;..." as a design: the first-run one with those texts.
inline Design designOf(const QString &pairs)
{
    Design design;
    for (const QString &pair : pairs.split(u';', Qt::SkipEmptyParts)) {
        if (textAt(design, pair.section(u'=', 0, 0)) == u"<no such key>")
            qFatal("no design key %s", qPrintable(pair));
        for (const DesignKeys::Entry &entry : DesignKeys::all())
            if (entry.section + u'/' + entry.name == pair.section(u'=', 0, 0))
                design.setText(entry.key, pair.section(u'=', 1));
    }
    return design;
}
