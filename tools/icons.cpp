// Writes the installed icons from the drawing the window uses: one SVG and a
// PNG per size, as the icon theme lays them out (SIZExSIZE/apps/NAME.png).
#include "Artwork.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        fprintf(stderr, "usage: quillmark_icons OUTPUT-FOLDER ICON-NAME\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        if (!QDir().mkpath(folder) || !Artwork::iconImage(size).save(folder + '/' + name + ".png"))
            return 1;
    }
    QDir().mkpath(out + "/scalable/apps");
    QFile svg(out + "/scalable/apps/" + name + ".svg");
    return svg.open(QIODevice::WriteOnly) && svg.write(Artwork::iconSvg()) > 0 && svg.flush() ? 0 : 1;
}
