#include "ProgressWindow.h"

#include <QApplication>
#include <QProgressDialog>
#include <cmath>

namespace {
constexpr qint64 kShowAfterMs = 500;
constexpr qint64 kUpdateEveryMs
    = 200; // the window and those behind it are painted this often (about 2 ms each)
} // namespace

ProgressWindow::ProgressWindow(const QString &title, Describe describe, std::function<qint64()> clock)
    : m_title(title)
    , m_describe(std::move(describe))
    , m_clock(std::move(clock))
{
    m_started.start();
    if (!m_clock)
        m_clock = [this] { return m_started.elapsed(); };
}

ProgressWindow::~ProgressWindow() { delete m_window; }

void ProgressWindow::look(long long done)
{
    const qint64 now = m_clock();
    if (now < kShowAfterMs || now - m_lastUpdate < kUpdateEveryMs)
        return;
    m_lastUpdate = now;
    if (!m_window) {
        // Windows need a widget application; a run without one shows nothing.
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        m_window = new QProgressDialog(QApplication::activeWindow());
        m_window->setWindowTitle(m_title);
        m_window->setWindowModality(Qt::ApplicationModal);
        m_window->setAutoClose(false);
        m_window->setAutoReset(false);
        m_window->setMinimumDuration(0);
        m_window->setMinimumWidth(320);
        m_window->show();
    }
    const Report shown = report(done, now, m_describe);
    constexpr int kSteps = 1000;
    m_window->setRange(0, shown.share ? kSteps : 0); // 0 to 0: a busy bar
    if (shown.share)
        m_window->setValue(int(std::lround(*shown.share * kSteps)));
    m_window->setLabelText(shown.text);
    QCoreApplication::processEvents();
    if (m_window && m_window->wasCanceled())
        throw RunCancelled{};
}
