#pragma once
#include "RunProgress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>

class QProgressDialog;

// Once a run has lasted about half a second, a modal window shows how far it
// is (values done, pages or files; a bar that fills where the data's end is
// known, else a busy bar) with Cancel, and the windows behind it are
// painted again. Being application modal, it lets no other handler run: the
// windows behind it take no input until the run ends.
class ProgressWindow : public RunProgress {
public:
    // describe: the window's text for the number of values done, of the total when known.
    // clock: milliseconds since the run began; by default, as the system's clock tells them.
    ProgressWindow(const QString &title, Describe describe, std::function<qint64()> clock = {});
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow &) = delete;
    ProgressWindow &operator=(const ProgressWindow &) = delete;

protected:
    void look(long long done) override;

private:
    QString m_title;
    Describe m_describe;
    QElapsedTimer m_started;
    std::function<qint64()> m_clock;
    qint64 m_lastUpdate = 0;
    QPointer<QProgressDialog> m_window;
};
