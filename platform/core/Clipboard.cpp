#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void Clipboard::setData(const QList<QPair<QString, QByteArray>> &formats)
{
    auto *mime = new QMimeData;
    for (const auto &format : formats)
        mime->setData(format.first, format.second);
    QGuiApplication::clipboard()->setMimeData(mime);
}
