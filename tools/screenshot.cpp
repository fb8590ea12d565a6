// Takes the README's pictures: the designer window (default), the print
// dialog with Avery 5160 chosen ("print"), its preview of the designer's sequence on an Avery 5160
// sheet ("preview"), the label product chooser searching "Avery 5160"
// ("products"), the Columns dialog of the stored import file ("columns") or
// the help window on a page of the manual ("help", then the page, index.md
// when none is named) or the label canvas with the shelf label of the examples
// ("canvas", then the design, docs/examples/shelf.qmdesign when none is
// named; its data is the shelf.csv beside it), each the real window grabbed
// once it is on screen. Run it under xvfb-run with a throwaway
// XDG_CONFIG_HOME so that no real settings are read.
#include "Form1.h"
#include "HelpDocument.h"
#include "HelpWindow.h"
#include "ImportColumnsDialog.h"
#include "LabelCanvas.h"
#include "LabelEditor.h"
#include "LabelProductDialog.h"
#include "ObjectPanel.h"
#include "PrinterObject.h"
#include "SettingsStore.h"
#include "frmPrint.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <functional>

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
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/shelf-XXXXXX"));
    const std::vector<LabelProduct> products = LabelProducts::load(LabelProducts::defaultFolder(), &error);
    if (what == QLatin1String("print")) {
        auto *print = new frmPrint(f.view(), *dialogs, printer);
        print->useLabelProduct(*LabelProducts::search(products, QStringLiteral("Avery 5160")).front());
        dialog.reset(print);
    } else if (what == QLatin1String("products")) {
        auto *chooser = new LabelProductDialog(products, error);
        chooser->searchBox->setText(QStringLiteral("Avery 5160"));
        dialog.reset(chooser);
    } else if (what == QLatin1String("columns")) {
        const QString file = store.read(QStringLiteral("Form1"), QStringLiteral("text4"), QString());
        dialog = std::make_unique<ImportColumnsDialog>(file, f.document().source().columns, *dialogs);
    } else if (what == QLatin1String("help")) {
        auto *help = new HelpWindow(HelpDocument::manualPath());
        if (argc > 3)
            help->browser->setSource(help->browser->source().resolved(QUrl(QString::fromLocal8Bit(argv[3]))));
        dialog.reset(help);
    } else if (what == QLatin1String("canvas")) {
        // The shelf label with its export, the price selected, the grid shown.
        // A copy in a folder of its own, so that the status bar names no
        // folder of this machine's.
        const QString design = argc > 3 ? QString::fromLocal8Bit(argv[3])
                                        : QStringLiteral(QUILLMARK_SOURCE "/docs/examples/shelf.qmdesign");
        const QString copy = folder.filePath(QStringLiteral("shelf.qmdesign"));
        if (!folder.isValid() || !QFile::copy(design, copy)
            || !QFile::copy(QFileInfo(design).absoluteDir().filePath(QStringLiteral("shelf.csv")),
                            folder.filePath(QStringLiteral("shelf.csv")))
            || !f.openDesign(copy))
            return 1;
        f.Option3->setChecked(true);
        f.Text4->setText(folder.filePath(QStringLiteral("shelf.csv")));
        f.resize(1100, 760);
        f.editor().showGrid->setChecked(true);
        f.editor().canvas()->setSelection({2});
        f.editor().canvas()->setFocus();
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
