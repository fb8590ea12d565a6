// Takes the README's pictures: the designer window (default), the print
// dialog ("print"), its preview of the designer's sequence on an Avery 5160
// sheet ("preview"), the label product chooser searching "Avery 5160"
// ("products"), the Columns dialog of the stored import file ("columns") or
// the help window on a page of the manual ("help", then the page, index.md
// when none is named), each the real window grabbed once it is on screen. Run it under xvfb-run
// with a throwaway XDG_CONFIG_HOME so that no real settings are read.
#include "Form1.h"
#include "HelpDocument.h"
#include "HelpWindow.h"
#include "ImportColumnsDialog.h"
#include "LabelProductDialog.h"
#include "SettingsStore.h"
#include "frmPrint.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("form1.png");
    const QString what = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    SettingsStore store(SettingsStore::userStorePath(QStringLiteral("Quillmark2")));
    PrinterObject printer;
    const std::unique_ptr<DialogProvider> dialogs = DialogProvider::real(printer);
    Form1 f(store, *dialogs, printer);
    f.startUp();
    QWidget *shown = &f;
    std::unique_ptr<QWidget> dialog;
    QString error;
    const std::vector<LabelProduct> products = LabelProducts::load(LabelProducts::defaultFolder(), &error);
    if (what == QLatin1String("print")) {
        dialog = std::make_unique<frmPrint>(f.view(), *dialogs, printer);
    } else if (what == QLatin1String("products")) {
        auto *chooser = new LabelProductDialog(products, error);
        chooser->searchBox->setText(QStringLiteral("Avery 5160"));
        dialog.reset(chooser);
    } else if (what == QLatin1String("columns")) {
        const QString file = store.read(QStringLiteral("Form1"), QStringLiteral("text4"), QString());
        dialog = std::make_unique<ImportColumnsDialog>(file, f.importColumns, *dialogs);
    } else if (what == QLatin1String("help")) {
        auto *help = new HelpWindow(HelpDocument::manualPath());
        if (argc > 3)
            help->browser->setSource(help->browser->source().resolved(QUrl(QString::fromLocal8Bit(argv[3]))));
        dialog.reset(help);
    }
    if (what == QLatin1String("preview")) {
        frmPrint print(f.view(), *dialogs, printer);
        print.useLabelProduct(*LabelProducts::search(products, QStringLiteral("Avery 5160")).front());
        int status = 1;
        QTimer::singleShot(1500, &app, [&] {
            QWidget *preview = QApplication::activeModalWidget();
            status = preview && preview->grab().save(out) ? 0 : 1;
            if (auto *window = qobject_cast<QDialog *>(preview))
                window->reject();
        });
        print.PreviewButton_Click();
        return status;
    }
    if (dialog)
        shown = dialog.get();
    shown->show();
    int status = 1;
    // Grab after the window manager-less X server has mapped and painted it.
    QTimer::singleShot(500, &app, [&] {
        status = shown->grab().save(out) ? 0 : 1;
        app.exit(status);
    });
    app.exec();
    return status;
}
