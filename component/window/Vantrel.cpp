#include "Vantrel.h"
#include "FormatOptionsDialog.h"

#include <QPainter>
#include <cmath>

Vantrel::Vantrel(QWidget *parent)
    : QWidget(parent)
{
}

void Vantrel::ShowFormatOptions(DialogProvider &dialogs)
{
    FormatOptionsDialog dialog(m_design.formatOptions(), dialogs, this);
    if (dialog.run() == QDialog::Accepted)
        m_design.setFormatOptions(dialog.options());
}

void Vantrel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QString note = m_design.drawPreview(painter, rect());
    if (toolTip() != note)
        setToolTip(note);
}

void Vantrel::Shown::changed(bool now)
{
    if (now)
        m_window.repaint();
    else
        m_window.update();
    emit m_window.symbolChanged();
}

void Vantrel::Shown::placed()
{
    m_window.setGeometry(int(std::lround(Left())), int(std::lround(Top())), pixelWidth(), pixelHeight());
}
