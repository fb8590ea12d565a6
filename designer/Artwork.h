#pragma once
#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in the 16 colours of the classic palette:
// the window icon (16 x 16 and 32 x 32) and the three toolbar pictures.
class Artwork {
public:
    static QIcon windowIcon();
    static QPixmap iconPicture(int size);
    static QPixmap copyPicture();
    static QPixmap savePicture();
    static QPixmap printPicture();
};
