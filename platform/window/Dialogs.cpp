#include "Dialogs.h"
#include "DesignKeys.h"
#include "LabelProductDialog.h"
#include "PrinterObject.h"
#include "PrinterSetupDialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGraphicsView>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// "Description|*.ext|..." -> Qt name filters; a description that already shows
// its pattern in parentheses is used as it is.
QStringList qtFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        if (description.contains(u'(' + patterns + u')'))
            result << description;
        else
            result << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return result;
}

// The resolution box's text as dots per inch: "Screen" 0, "300" or "300 dpi"
// within the kept range; nullopt for anything else.
std::optional<int> resolutionOf(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(screen|(\\d{1,5})\\s*(dpi)?)\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    if (match.captured(2).isEmpty())
        return 0;
    const DesignKeys::Entry &entry = DesignKeys::entry(DesignKey::PictureDpi);
    const int dpi = match.captured(2).toInt();
    return dpi >= entry.low && dpi <= entry.high ? std::optional<int>(dpi) : std::nullopt;
}

// Qt's own file dialog (a desktop's would not take a box of ours) with the
// resolution below the file type.
QComboBox *addResolutionBox(QFileDialog &dialog, int dpi)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!grid)
        return nullptr;
    auto *box = new QComboBox(&dialog);
    box->setEditable(true);
    box->addItems({QStringLiteral("Screen"), QStringLiteral("203 dpi"), QStringLiteral("300 dpi"),
                   QStringLiteral("600 dpi"), QStringLiteral("1200 dpi")});
    box->setCurrentText(dpi > 0 ? QStringLiteral("%1 dpi").arg(dpi) : QStringLiteral("Screen"));
    const DesignKeys::Entry &entry = DesignKeys::entry(DesignKey::PictureDpi);
    box->setToolTip(QStringLiteral("Screen, or %1 to %2 dots per inch").arg(entry.low).arg(entry.high));
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(QStringLiteral("Resolution:"), &dialog), row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

std::optional<QString> runFileDialog(QFileDialog::AcceptMode mode, const QString &filter,
                                     const QString &defaultExt, const QString &fileName, int &filterIndex,
                                     const QString &folder = {}, int *dpi = nullptr)
{
    QFileDialog dialog;
    QComboBox *resolution = dpi ? addResolutionBox(dialog, *dpi) : nullptr;
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = qtFilters(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(qBound(1, filterIndex, int(filters.size())) - 1));
    }
    QString suffix = defaultExt;
    if (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    // A name typed without extension takes the one of the file type chosen
    // ("label" under "*.wmf" saves label.wmf, not label.bmp); the default
    // extension serves the entries without a single extension.
    const auto suffixFor = [suffix](const QString &nameFilter) {
        const qsizetype open = nameFilter.lastIndexOf(u'(');
        const QString pattern = nameFilter.mid(open + 1).chopped(1).trimmed();
        static const QRegularExpression single(QStringLiteral("^\\*\\.([A-Za-z0-9_]+)$"));
        const auto match = single.match(pattern);
        return open >= 0 && match.hasMatch() ? match.captured(1) : suffix;
    };
    dialog.setDefaultSuffix(mode == QFileDialog::AcceptSave && !filters.isEmpty()
                                ? suffixFor(dialog.selectedNameFilter())
                                : suffix);
    if (mode == QFileDialog::AcceptSave)
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, suffixFor](const QString &nameFilter) {
                             dialog.setDefaultSuffix(suffixFor(nameFilter));
                         });
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        if (!resolution)
            break;
        if (const auto chosenDpi = resolutionOf(resolution->currentText())) {
            *dpi = *chosenDpi;
            break;
        }
        QMessageBox::information(&dialog, QStringLiteral("Resolution"),
                                 QStringLiteral("\"%1\" is no resolution: choose %2.")
                                     .arg(resolution->currentText(), resolution->toolTip()));
    }
    const int chosen = int(filters.indexOf(dialog.selectedNameFilter()));
    if (chosen >= 0)
        filterIndex = chosen + 1;
    return dialog.selectedFiles().constFirst();
}

// A question whose buttons have access keys (Qt's own texts for Save, Discard
// and Cancel have none): the button pressed.
QMessageBox::StandardButton askWithKeys(QMessageBox::Icon icon, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton byDefault)
{
    QMessageBox box(icon, title, text, buttons);
    box.setDefaultButton(byDefault);
    const std::pair<QMessageBox::StandardButton, const char *> keyed[] = {
        {QMessageBox::Save, "&Save"}, {QMessageBox::Discard, "&Discard"}, {QMessageBox::Cancel, "&Cancel"}};
    for (const auto &[button, caption] : keyed)
        if (QAbstractButton *shown = box.button(button))
            shown->setText(QString::fromLatin1(caption));
    return QMessageBox::StandardButton(box.exec());
}

// The wheel with Ctrl held zooms the preview in and out, as in other viewers;
// without Ctrl it scrolls through the pages.
class CtrlWheelZoom : public QObject {
public:
    CtrlWheelZoom(QPrintPreviewWidget &preview, QObject *parent)
        : QObject(parent)
        , m_preview(preview)
    {
        if (auto *view = preview.findChild<QGraphicsView *>())
            view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const int steps = wheel->angleDelta().y();
        if (!wheel->modifiers().testFlag(Qt::ControlModifier) || steps == 0)
            return false;
        // A notch (120) zooms by a tenth; a touchpad's many small steps add up to as much.
        m_preview.zoomIn(std::pow(1.1, steps / 120.0));
        return true;
    }

private:
    QPrintPreviewWidget &m_preview;
};

class QtDialogProvider : public DialogProvider {
public:
    explicit QtDialogProvider(const PrinterObject &printer)
        : m_printer(printer)
    {
    }

    std::optional<QString> openFile(const QString &filter, const QString &defaultExt, const QString &fileName,
                                    int &filterIndex) override
    {
        return runFileDialog(QFileDialog::AcceptOpen, filter, defaultExt, fileName, filterIndex);
    }
    std::optional<QString> saveFile(const QString &filter, const QString &defaultExt, const QString &fileName,
                                    int &filterIndex) override
    {
        return runFileDialog(QFileDialog::AcceptSave, filter, defaultExt, fileName, filterIndex);
    }
    std::optional<QString> saveFileIn(const QString &folder, const QString &filter, const QString &defaultExt,
                                      const QString &fileName, int &filterIndex) override
    {
        return runFileDialog(QFileDialog::AcceptSave, filter, defaultExt, fileName, filterIndex, folder);
    }
    std::optional<QString> savePictureIn(const QString &folder, const QString &filter,
                                         const QString &defaultExt, const QString &fileName, int &filterIndex,
                                         int &dpi) override
    {
        return runFileDialog(QFileDialog::AcceptSave, filter, defaultExt, fileName, filterIndex, folder,
                             &dpi);
    }
    std::optional<LabelProduct> chooseLabelProduct(const std::vector<LabelProduct> &products,
                                                   const QString &error) override
    {
        LabelProductDialog dialog(products, error);
        return dialog.exec() == QDialog::Accepted ? dialog.chosen() : std::nullopt;
    }
    bool printPreview(QPrintPreviewWidget &preview) override;
    bool openDocument(const QString &path) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
    bool printerDialog(PrinterObject &printer) override
    {
        PrinterSetupDialog dialog(printer, *this);
        return dialog.exec() == QDialog::Accepted;
    }
    void showMessage(const QString &text, const QString &title, MessageIcon icon) override
    {
        if (icon == MessageIcon::Warning)
            QMessageBox::warning(nullptr, title, text, QMessageBox::Ok);
        else
            QMessageBox::information(nullptr, title, text, QMessageBox::Ok);
    }
    void aboutProgram(const QString &title, const QString &text) override
    {
        QMessageBox::about(nullptr, title, text);
    }
    int runDialog(QDialog &dialog) override { return dialog.exec(); }
    SaveChanges askSaveChanges(const QString &text, const QString &title) override
    {
        const auto answer
            = askWithKeys(QMessageBox::Question, title, text,
                          QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        return answer == QMessageBox::Save   ? SaveChanges::Save
            : answer == QMessageBox::Discard ? SaveChanges::Discard
                                             : SaveChanges::Cancel;
    }
    bool warnBeforeRun(const QString &text, const QString &title) override
    {
        return askWithKeys(QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                           QMessageBox::Ok)
            == QMessageBox::Ok;
    }
    std::optional<QColor> chooseColor(const QColor &initial, QWidget *parent) override
    {
        const QColor picked = QColorDialog::getColor(initial, parent);
        return picked.isValid() ? std::optional(picked) : std::nullopt;
    }

private:
    const PrinterObject &m_printer;
};

// The pages one under the other, each seen whole, with their count, paper
// and printer; "Print" prints them, "Close" goes back to the print dialog.
// "Fit page" shows a whole page again, "100%" the paper at its own size.
bool QtDialogProvider::printPreview(QPrintPreviewWidget &preview)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Quillmark - Preview"));
    auto *pages = new QLabel(&dialog);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    buttons->addButton(QStringLiteral("&Print"), QDialogButtonBox::AcceptRole)->setDefault(true);
    QPushButton *fit = buttons->addButton(QStringLiteral("&Fit page"), QDialogButtonBox::ActionRole);
    QPushButton *actual = buttons->addButton(QStringLiteral("&100%"), QDialogButtonBox::ActionRole);
    fit->setObjectName(QStringLiteral("fitPage"));
    actual->setObjectName(QStringLiteral("actualSize"));
    QObject::connect(fit, &QPushButton::clicked, &dialog,
                     [&preview] { preview.setZoomMode(QPrintPreviewWidget::FitInView); });
    QObject::connect(actual, &QPushButton::clicked, &dialog, [&preview] {
        preview.setZoomMode(QPrintPreviewWidget::CustomZoom);
        preview.setZoomFactor(1.0); // the printer's inch on the screen's inch
    });
    new CtrlWheelZoom(preview, &dialog);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(pages);
    layout->addWidget(&preview, 1);
    layout->addWidget(buttons);
    QObject::connect(&preview, &QPrintPreviewWidget::previewChanged, pages, [this, &preview, pages] {
        const PrinterObject &printer = m_printer;
        pages->setText(QStringLiteral("%1 of %2 for %3")
                           .arg(preview.pageCount() == 1
                                    ? QStringLiteral("1 page")
                                    : QStringLiteral("%1 pages").arg(preview.pageCount()),
                                printer.media().name(), printer.deviceName()));
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    preview.setZoomMode(QPrintPreviewWidget::FitInView);
    dialog.resize(640, 820);
    const bool print = dialog.exec() == QDialog::Accepted;
    // The widget belongs to the caller, not to this window.
    layout->removeWidget(&preview);
    preview.setParent(nullptr);
    return print;
}

} // namespace

int DialogProvider::runDialog(QDialog &) { return QDialog::Rejected; }

std::optional<QColor> DialogProvider::chooseColor(const QColor &, QWidget *) { return std::nullopt; }

DialogProvider::SaveChanges DialogProvider::askSaveChanges(const QString &, const QString &)
{
    return SaveChanges::Cancel;
}

bool DialogProvider::warnBeforeRun(const QString &, const QString &) { return true; }

std::unique_ptr<DialogProvider> DialogProvider::real(const PrinterObject &printer)
{
    return std::make_unique<QtDialogProvider>(printer);
}

// A cancelled dialog changes nothing: neither the name nor the filter entry.
bool CommonDialog::ShowOpen(const QString &added, bool openOnAdded)
{
    if (added.isEmpty())
        openOnAdded = false;
    const int entries = int(qtFilters(Filter).size());
    // The entry last chosen may be one of a longer filter (the picture save's):
    // past this filter's, it opens on the last of them, never on the added one.
    int index = openOnAdded ? entries + 1 : std::clamp(FilterIndex, 1, std::max(entries, 1));
    auto name
        = m_dialogs.openFile(added.isEmpty() ? Filter : Filter + u'|' + added, DefaultExt, FileName, index);
    if (!name)
        return false;
    FileName = *name;
    if (index <= entries)
        FilterIndex = index;
    return true;
}

bool CommonDialog::ShowSavePicture(int &dpi)
{
    int index = FilterIndex;
    auto name = m_dialogs.savePictureIn(InitDir, Filter, DefaultExt, FileName, index, dpi);
    if (!name)
        return false;
    FileName = *name;
    FilterIndex = index;
    return true;
}

bool CommonDialog::ShowPrinter() { return m_dialogs.printerDialog(m_printer); }
