#include "Form1.h"
#include "SettingsStore.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Usage: quillmark [--help | --version]\n"
    "Without arguments, opens the designer window.\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

} // namespace

int main(int argc, char **argv)
{
    // Arguments are read before any window system is needed, so that --help
    // and --version work without a display.
    if (argc > 1) {
        if (!std::strcmp(argv[1], "--help") && argc == 2) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (!std::strcmp(argv[1], "--version") && argc == 2) {
            std::printf("quillmark %s\n", QUILLMARK_VERSION);
            return 0;
        }
        std::fputs(kUsage, stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLMARK_APP_ID));
    SettingsStore store(SettingsStore::userStorePath(QStringLiteral("Quillmark2")));
    Form1 f(store);
    f.startUp();
    f.show();
    return app.exec();
}
