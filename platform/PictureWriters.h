#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// Writers for the picture files the program saves. Each writes through a
// temporary file that is renamed into place, so a failed write leaves no
// partial file; failures raise QuillError naming the file and the reason.
namespace PictureWriters {
// Windows bitmap, 24 bits per pixel, bottom-up rows, resolution from the image;
// transparent parts come out white.
QByteArray bmpBytes(const QImage &image);
void writeBmp(const QImage &image, const QString &path);
void writePng(const QImage &image, const QString &path);
void writeBytes(const QByteArray &bytes, const QString &path);
} // namespace PictureWriters
