#include "ScriptedDialogs.h"

#include <QDialog>

QStringList ScriptedDialogs::texts(bool withTitles) const
{
    QStringList result;
    for (const Message &message : messages)
        result << (withTitles ? message.title + QStringLiteral(": ") + message.text : message.text);
    return result;
}

std::optional<QString> ScriptedDialogs::openFile(const QString &filter, const QString &, const QString &name,
                                                 int &index)
{
    openedFilter = filter;
    openedEntry = index;
    askedName = name;
    return openAnswer;
}

std::optional<QString> ScriptedDialogs::saveFile(const QString &, const QString &, const QString &name, int &)
{
    ++saveCalls;
    return askedName = name, saveAnswer;
}

std::optional<QString> ScriptedDialogs::savePictureIn(const QString &folder, const QString &filter,
                                                      const QString &ext, const QString &name, int &index,
                                                      int &dpi)
{
    shownDpi = dpi;
    const std::optional<QString> answer = saveFileIn(folder, filter, ext, name, index);
    if (answer && pictureDpi)
        dpi = *pictureDpi;
    return answer;
}

int ScriptedDialogs::runDialog(QDialog &dialog)
{
    return onDialog ? onDialog(dialog) : int(QDialog::Rejected);
}
