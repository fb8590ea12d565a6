#pragma once
#include <QImage>
#include <QString>
#include <QStringList>

// Outside decoders for what we draw: zxing-cpp in process, zbar through zbarimg.
namespace Decode {

struct Found {
    QString text;
    QString format;   // zxing-cpp's name of the symbology, e.g. "Code128"
    QRect where;      // bounding box in image pixels
};

// Every symbol zxing-cpp finds in the image, left to right, top to bottom.
// code39Extended reads Code 39 in its full-ASCII mode.
QList<Found> zxingAll(const QImage &image, bool code39Extended = false);
// The text of the one symbol found; empty when none or more than one.
QString zxingOne(const QImage &image, bool code39Extended = false);

// zbarimg on an image file with extra -S options (e.g. "-Sean2.enable");
// the decoded texts without their symbology prefix.
QStringList zbarFile(const QString &path, const QStringList &options = {});
QStringList zbarImage(const QImage &image, const QStringList &options = {});

} // namespace Decode
