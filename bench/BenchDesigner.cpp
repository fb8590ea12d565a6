#include "BenchDesigner.h"
#include "Form1.h"
#include "LabelSheet.h"
#include "PrinterObject.h"
#include "SettingsStore.h"
#include "Symbology.h"
#include "Vantrel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>

BenchDesigner::BenchDesigner(const QString &storeFolder, DialogProvider &dialogs)
    : m_store(std::make_unique<SettingsStore>(QDir(storeFolder).filePath(QStringLiteral("Quillmark2.conf"))))
    , m_printer(std::make_unique<PrinterObject>())
    , m_form(std::make_unique<Form1>(*m_store, dialogs, *m_printer))
{
    m_form->startUp();
    m_form->show();
}

BenchDesigner::~BenchDesigner()
{
    m_form->close();
    m_form.reset();
}

void BenchDesigner::useCode128() { m_form->Combo1->setCurrentIndex(int(Symbology::Code128)); }

void BenchDesigner::useSymbolSizeInInches(double width, double height)
{
    m_form->Option4->click();
    // Typed, then the focus leaves the box: that is when the designer takes the size.
    bool cancel = false;
    m_form->Text5->setText(LabelSheet::text(width));
    m_form->Text5_Validate(cancel);
    m_form->Text6->setText(LabelSheet::text(height));
    m_form->Text6_Validate(cancel);
}

void BenchDesigner::useSequence(const QString &start, qint64 count)
{
    m_form->Option2->click();
    m_form->Text2->setText(start);
    m_form->Text3->setText(QString::number(start.toLongLong() + count - 1));
}

void BenchDesigner::useFixedText(const QString &text)
{
    m_form->Option1->click();
    m_form->Text1->setText(text);
}

void BenchDesigner::useImportFile(const QString &path)
{
    m_form->Text4->setText(path);
    m_form->Option3->click();
}

void BenchDesigner::waitUntilShown()
{
    QElapsedTimer waited;
    waited.start();
    while (!m_form->Vantrel1->isVisible() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}
