#pragma once
#include "DataSourceControls.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

// The data panel's controls as plain fields.
struct FakeControls : DataSourceControls {
    bool o1 = true, o2 = false, o3 = false;
    QString t1 = QStringLiteral("0123456789"), t2 = QStringLiteral("001"), t3 = QStringLiteral("999"), t4,
            t7 = QStringLiteral("(prefix)"), t8 = QStringLiteral("(sufix)");
    ImportColumns columns;
    bool standardInput = false;

    void source(int n)
    {
        o1 = n == 1;
        o2 = n == 2;
        o3 = n == 3;
    }

    bool textSelected() const override { return o1; }
    bool sequenceSelected() const override { return o2; }
    bool importSelected() const override { return o3; }
    QString fixedText() const override { return t1; }
    QString sequenceStart() const override { return t2; }
    QString sequenceEnd() const override { return t3; }
    QString importFileName() const override { return t4; }
    QString prefix() const override { return t7; }
    QString suffix() const override { return t8; }
    ImportColumns importColumns() const override { return columns; }
    bool importFromStandardInput() const override { return standardInput; }
};

// Whether this process holds the file open, as the system sees it.
inline bool heldOpen(const QString &path)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    const auto fds = QDir(QStringLiteral("/proc/self/fd"))
                         .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    return !file.isEmpty() && std::any_of(fds.begin(), fds.end(), [&](const QFileInfo &fd) {
        return fd.symLinkTarget() == file;
    });
}
