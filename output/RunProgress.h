#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>

class QProgressDialog;

// Thrown out of a run when the user pressed Cancel in its progress window.
struct RunCancelled {};

// Word of a long run: once a run has lasted about half a second, a modal
// window shows how far it is (values done, pages or files) with Cancel, and
// the windows behind it are painted again. Being application modal, it lets no
// other handler run: the windows behind it take no input until the run ends.
// A short run shows nothing and costs one counter a value.
class RunProgress {
public:
    // describe: the window's text for the number of values done.
    RunProgress(const QString &title, std::function<QString(long long done)> describe);
    ~RunProgress();
    RunProgress(const RunProgress &) = delete;
    RunProgress &operator=(const RunProgress &) = delete;

    // A run without a person (the command line) shows no window: false.
    static void setWindowsShown(bool shown);

    // One more value done; raises RunCancelled when the user cancelled.
    void step(long long done)
    {
        if ((++m_calls & 15) == 0)
            look(done);
    }

private:
    void look(long long done);

    QString m_title;
    std::function<QString(long long)> m_describe;
    QElapsedTimer m_clock;
    qint64 m_lastUpdate = 0;
    unsigned m_calls = 0;
    QPointer<QProgressDialog> m_window;
};
