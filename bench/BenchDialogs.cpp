#include "BenchDialogs.h"

BenchDialogs::BenchDialogs() { DialogProvider::install(this); }
BenchDialogs::~BenchDialogs() { DialogProvider::install(nullptr); }

std::optional<QString> BenchDialogs::openFile(const QString &, const QString &, const QString &, int &)
{
    return std::nullopt;
}

std::optional<QString> BenchDialogs::saveFile(const QString &, const QString &, const QString &, int &)
{
    if (m_saveAnswer.isEmpty())
        return std::nullopt;
    return m_saveAnswer;
}

bool BenchDialogs::printerDialog(PrinterObject &) { return false; }

void BenchDialogs::messageBox(const QString &text, const QString &title)
{
    m_messages << title + QStringLiteral(": ") + text;
}
