#include "Form1.h"
#include "SettingsStore.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    SettingsStore store(SettingsStore::userStorePath(QStringLiteral("Quillmark2")));
    Form1 f(store);
    f.startUp();
    f.show();
    return app.exec();
}
