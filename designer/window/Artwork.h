#pragma once
#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's own pictures, drawn in the 16 colours of the classic palette:
// the window icon (also installed as SVG and PNG files) and the three toolbar
// pictures.
class Artwork {
public:
    static QIcon windowIcon();
    static QPixmap iconPicture(int size);
    static QImage iconImage(int size);
    static QByteArray iconSvg();
    static QPixmap copyPicture();
    static QPixmap savePicture();
    static QPixmap printPicture();
};
