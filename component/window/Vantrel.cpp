#include "Vantrel.h"
#include "FormatOptionsDialog.h"

#include <QPainter>
#include <cmath>

Vantrel::Vantrel(QWidget *parent)
    : QWidget(parent)
{
}

void Vantrel::ShowFormatOptions()
{
    FormatOptionsDialog dialog(formatOptions(), this);
    if (dialog.run() == QDialog::Accepted)
        setFormatOptions(dialog.options());
}

void Vantrel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QString note = drawPreview(painter, rect());
    if (toolTip() != note)
        setToolTip(note);
}

void Vantrel::changed(bool now)
{
    if (now)
        repaint();
    else
        update();
    emit symbolChanged();
}

void Vantrel::placed()
{
    setGeometry(int(std::lround(Left())), int(std::lround(Top())), pixelWidth(), pixelHeight());
}
