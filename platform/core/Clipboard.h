#pragma once
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The system clipboard, by MIME type.
class Clipboard {
public:
    static constexpr const char *kWmfMime = "image/x-wmf";
    // Replaces the clipboard's content with all the given formats at once.
    static void setData(const QList<QPair<QString, QByteArray>> &formats);
};
