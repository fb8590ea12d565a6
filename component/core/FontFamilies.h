#pragma once
#include <QString>
#include <QStringList>

// The font families the designer offers and the symbol is drawn in.
namespace FontFamilies {

// Each family once, without its foundry, sorted without letter case.
QStringList list(const QStringList &systemFonts);
// The position of a chosen family in that list: the name itself, in any
// letter case, or the family the system draws in its place; -1 when none.
int indexOf(const QStringList &list, const QString &name);
// The family the symbol is drawn in for a chosen name, among the system's
// families; empty when none stands for it (the component keeps its own).
QString drawnFamily(const QString &name);

} // namespace FontFamilies
