// Takes the README's picture of the designer window: the real window, started
// as main() starts it, grabbed once it is on screen. Run it under xvfb-run
// with a throwaway XDG_CONFIG_HOME so that no real settings are read.
#include "Form1.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("form1.png");
    SettingsStore store(SettingsStore::userStorePath(QStringLiteral("Quillmark2")));
    Form1 f(store);
    f.startUp();
    f.show();
    int status = 1;
    // Grab after the window manager-less X server has mapped and painted it.
    QTimer::singleShot(500, &app, [&] {
        status = f.grab().save(out) ? 0 : 1;
        app.exit(status);
    });
    app.exec();
    return status;
}
