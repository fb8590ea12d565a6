#include "PrintServer.h"
#include "QuillError.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>

#include <cups/cups.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// A place where no server can be: connecting there fails at once.
constexpr char kNowhere[] = "/dev/null/no-print-server";

std::atomic<Clock::rep> g_lastStall{0}; // steady-clock ticks; 0: never

} // namespace

QString PrintServer::notAnswering()
{
    return QStringLiteral("The print server %1 does not answer within %2 seconds; nothing was sent to it. "
                          "Check that CUPS runs there (lpstat -r), or choose the PDF file printer.")
        .arg(address())
        .arg(kAnswerSeconds);
}

namespace {

// What the asking thread and the waiting one share. The asking thread may
// outlive the wait (a stopped server holds it until the CUPS library gives
// up), so it is kept alive by both.
template <typename Result> struct Question {
    std::mutex mutex;
    std::condition_variable finished;
    Clock::time_point deadline;
    bool done = false;
    bool reached = false; // a connection was made
    bool late = false; // the answer came after the deadline
    Result result{};
};

// Called by the CUPS library whenever a read has waited its interval: it
// goes on waiting until the question's deadline, then gives up.
template <typename Result> int keepWaiting(http_t *, void *data)
{
    auto *question = static_cast<Question<Result> *>(data);
    return Clock::now() < question->deadline ? 1 : 0;
}

// While a question waits, the application's thread keeps its event loop
// going (paint, timers; no user input), so that its windows stay painted.
void keepPainting()
{
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

template <typename Result> void waitResponsively(Question<Result> &question)
{
    std::unique_lock lock(question.mutex);
    while (!question.done && Clock::now() < question.deadline) {
        lock.unlock();
        keepPainting();
        lock.lock();
        const auto answered = [&question] { return question.done; };
        question.finished.wait_for(lock, std::chrono::milliseconds(20), answered);
    }
}

// Runs ask on a connection of its own, in a thread of its own, and waits at
// most kAnswerSeconds for it. nullopt when no server is there at all (nothing
// listens at the address); raises the "does not answer" error past the bound.
template <typename Result> std::optional<Result> ask(std::function<Result(http_t *)> question)
{
    auto shared = std::make_shared<Question<Result>>();
    shared->deadline = Clock::now() + std::chrono::seconds(PrintServer::kAnswerSeconds);
    const QByteArray server = cupsServer();
    const int port = ippPort();
    const http_encryption_t encryption = cupsEncryption();
    std::thread([shared, question = std::move(question), server, port, encryption] {
        using std::chrono::milliseconds;
        const auto left = std::chrono::duration_cast<milliseconds>(shared->deadline - Clock::now());
        const int msec = int(std::max<milliseconds::rep>(1, left.count()));
        const int blocking = 1;
        http_t *http
            = httpConnect2(server.constData(), port, nullptr, AF_UNSPEC, encryption, blocking, msec, nullptr);
        Result result{};
        if (http) {
            // Every read waits a quarter of a second at a time and asks keepWaiting whether to go on.
            httpSetTimeout(http, 0.25, keepWaiting<Result>, shared.get());
            result = question(http);
            httpClose(http);
        }
        const std::lock_guard lock(shared->mutex);
        shared->result = std::move(result);
        shared->reached = http != nullptr;
        shared->late = Clock::now() >= shared->deadline;
        shared->done = true;
        shared->finished.notify_all();
    }).detach();

    waitResponsively(*shared);
    const std::lock_guard lock(shared->mutex);
    if (!shared->done || shared->late) {
        g_lastStall = Clock::now().time_since_epoch().count();
        throw QuillError(PrintServer::notAnswering());
    }
    if (!shared->reached)
        return std::nullopt;
    return shared->result;
}

} // namespace

bool PrintServer::stalledLately()
{
    const Clock::rep last = g_lastStall;
    const auto since = Clock::now() - Clock::time_point(Clock::duration(last));
    return last != 0 && since < std::chrono::seconds(2 * kAnswerSeconds);
}

QString PrintServer::address() { return QString::fromLocal8Bit(cupsServer()); }

void PrintServer::check()
{
    ask<bool>([](http_t *http) {
        ipp_t *response = cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
        ippDelete(response);
        return true;
    });
}

PrintServer::Queues PrintServer::queues()
{
    const auto found = ask<Queues>([](http_t *http) {
        Queues queues;
        cups_dest_t *dests = nullptr;
        const int count = cupsGetDests2(http, &dests);
        for (int i = 0; i < count; ++i) {
            QString name = QString::fromLocal8Bit(dests[i].name);
            if (dests[i].instance)
                name += u'/' + QString::fromLocal8Bit(dests[i].instance);
            // Printers merely seen on the network are no queues yet.
            else if (!cupsGetOption("printer-uri-supported", dests[i].num_options, dests[i].options))
                continue;
            queues.names << name;
            if (dests[i].is_default && queues.defaultName.isEmpty())
                queues.defaultName = name;
        }
        cupsFreeDests(count, dests);
        return queues;
    });
    return found.value_or(Queues{});
}

int PrintServer::defaultDpi(const QString &queue)
{
    const QByteArray name = queue.section(u'/', 0, 0).toUtf8();
    const QByteArray instance = queue.section(u'/', 1).toUtf8();
    const auto answer = ask<int>([name, instance](http_t *http) {
        cups_dest_t *dest
            = cupsGetNamedDest(http, name.constData(), instance.isEmpty() ? nullptr : instance.constData());
        if (!dest)
            return 0;
        int dpi = 0;
        if (cups_dinfo_t *info = cupsCopyDestInfo(http, dest)) {
            if (ipp_attribute_t *attr = cupsFindDestDefault(http, dest, info, "printer-resolution")) {
                int y = 0;
                ipp_res_t units = IPP_RES_PER_INCH;
                const int x = ippGetResolution(attr, 0, &y, &units);
                dpi = units == IPP_RES_PER_CM ? qRound(x * 2.54) : x;
            }
            cupsFreeDestInfo(info);
        }
        cupsFreeDests(1, dest);
        return dpi;
    });
    return answer.value_or(0);
}

void PrintServer::submit(const QString &queue, const QStringList &options, const QString &jobFile)
{
    check();
    QProcess lp;
    lp.start(QStringLiteral("lp"), QStringList{QStringLiteral("-d"), queue} << options << jobFile);
    const auto deadline = Clock::now() + std::chrono::seconds(kJobSeconds);
    const bool started = lp.waitForStarted(kAnswerSeconds * 1000);
    while (started && lp.state() == QProcess::Running && Clock::now() < deadline) {
        keepPainting();
        lp.waitForFinished(20);
    }
    if (lp.state() == QProcess::Running) {
        lp.kill();
        lp.waitForFinished(kAnswerSeconds * 1000);
        throw QuillError(QStringLiteral("The print server %1 did not take the print job for \"%2\" within %3 "
                                        "seconds; the job was withdrawn.")
                             .arg(address(), queue)
                             .arg(kJobSeconds));
    }
    if (!started || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        const QString why = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
        throw QuillError(QStringLiteral("The print job could not be sent to the printer \"%1\"%2")
                             .arg(queue, why.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + why));
    }
}

PrintServer::Unasked::Unasked() { cupsSetServer(kNowhere); }

// Back to the server the environment and client.conf name.
PrintServer::Unasked::~Unasked() { cupsSetServer(nullptr); }
