#pragma once
// Other runs of the program, as the tests stage them: a child process of the
// test that does what a run would and never outlives the test.
#include <QFile>
#include <QString>

#include <csignal>
#include <functional>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// What work returns in a child process of its own (where it may set a limit or
// become another user first), passed back through a pipe.
inline QString inChild(const std::function<QString()> &work)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const QByteArray said = work().toUtf8();
        ::_exit(::write(channel[1], said.constData(), size_t(said.size())) == said.size() ? 0 : 1);
    }
    ::close(channel[1]);
    QFile pipe;
    pipe.open(channel[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray said = pipe.readAll();
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(said);
}

// A run caught mid-write, as a kill would leave it: work runs in a child
// process that stops (SIGSTOP) where work stops it, else when work returns.
// Its working files stay and its pid lives until kill().
class StoppedRun {
public:
    explicit StoppedRun(const std::function<void()> &work)
        : m_pid(::fork())
    {
        if (m_pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            work();
            ::raise(SIGSTOP);
            ::_exit(0);
        }
        int status = 0;
        if (m_pid < 0 || ::waitpid(m_pid, &status, WUNTRACED) != m_pid || !WIFSTOPPED(status))
            m_pid = -1;
    }
    ~StoppedRun() { kill(); }
    StoppedRun(const StoppedRun &) = delete;
    StoppedRun &operator=(const StoppedRun &) = delete;

    bool stopped() const { return m_pid > 0; }
    // SIGKILL, and the child reaped: its pid is then no process's. False when
    // there was no stopped run to kill.
    bool kill()
    {
        const bool killed = m_pid > 0 && ::kill(m_pid, SIGKILL) == 0 && ::waitpid(m_pid, nullptr, 0) == m_pid;
        m_pid = -1;
        return killed;
    }

private:
    pid_t m_pid;
};
