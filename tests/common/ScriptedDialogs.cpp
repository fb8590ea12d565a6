#include "ScriptedDialogs.h"

#include <QDialog>

QStringList ScriptedDialogs::texts(bool withTitles) const
{
    QStringList result;
    for (const Message &message : messages)
        result << (withTitles ? message.title + QStringLiteral(": ") + message.text : message.text);
    return result;
}

std::optional<QString> ScriptedDialogs::openFile(const QString &filter, const QString &ext, const QString &name, int &)
{
    ++openCalls;
    askedFilter = filter, askedExt = ext, askedName = name;
    return openAnswer;
}

std::optional<QString> ScriptedDialogs::saveFile(const QString &filter, const QString &ext, const QString &name, int &)
{
    ++saveCalls;
    askedFilter = filter, askedExt = ext, askedName = name;
    return saveAnswer;
}

int ScriptedDialogs::runDialog(QDialog &dialog) { return onDialog ? onDialog(dialog) : int(QDialog::Rejected); }
