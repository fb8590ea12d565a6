#pragma once
#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPalette>
#include <QPixmap>

// The program's own pictures, drawn in the 16 colours of the classic palette:
// the window icon (also installed as SVG and PNG files) and the three toolbar
// pictures, drawn from vectors at whatever size and pixel ratio they are shown.
class Artwork {
public:
    enum class ToolbarPicture { Copy, Save, Print };

    static QIcon windowIcon();
    static QPixmap iconPicture(int size);
    static QImage iconImage(int size);
    static QByteArray iconSvg();
    // Drawn for the application palette of the moment it is shown.
    static QIcon toolbarIcon(ToolbarPicture picture);
    static QByteArray toolbarSvg(ToolbarPicture picture, const QPalette &palette);
};
