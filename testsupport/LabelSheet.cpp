#include "LabelSheet.h"

QRectF LabelSheet::cell(int indexOnPage)
{
    const int column = indexOnPage % columns;
    const int row = indexOnPage / columns;
    return QRectF(pageLeft + column * cellWidth(), pageTop + row * cellHeight(), cellWidth(), cellHeight());
}

QString LabelSheet::text(double inches) { return QString::number(inches, 'g', 10); }

QString sequenceValue(qint64 position, const QString &start)
{
    if (position == 1)
        return start;
    QString number = QString::number(start.toLongLong() + position - 1);
    if (start.startsWith(u'0') && start.size() > number.size())
        number = QString(start.size() - number.size(), u'0') + number;
    return number;
}
