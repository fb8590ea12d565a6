#pragma once
#include <QString>
#include <QStringList>

#include <memory>

// The CUPS server that holds the system's queues, asked only within bounds: a
// question gets kAnswerSeconds to be answered (a server that accepts the
// connection and then says nothing, as a stopped cupsd does, included), and
// a finished job kJobSeconds to be taken. Past the bound the question raises
// a QuillError that names the server. While a question waits, the thread's
// event loop goes on (no user input), so windows keep painting.
//
// Qt's print support asks the server with no bound; PrinterObject lets it
// only right after this class found the server answering.
class PrintServer {
public:
    static constexpr int kAnswerSeconds = 5;
    static constexpr int kJobSeconds = 60;

    // Where the CUPS library looks: a socket path or a host name.
    static QString address();

    struct Queues {
        QStringList names;
        QString defaultName; // empty when the server names none
    };
    // The queues and the default one; no server at all is no queues.
    static Queues queues();
    // Makes sure the server answers now; no server at all passes.
    static void check();
    // The resolution a queue's driver prints at when nobody chooses one; 0
    // when it names none.
    static int defaultDpi(const QString &queue);
    // "The print server ... does not answer ...": what a question past its bound raises.
    static QString notAnswering();
    // Whether a question found the server not answering in the last
    // 2 x kAnswerSeconds: the default queue is then not looked up again.
    static bool stalledLately();
    // Hands a finished job file to the queue with lp; lp talks to the same server.
    static void submit(const QString &queue, const QStringList &options, const QString &jobFile);

    // While one lives, the CUPS library finds no server on this thread, so
    // that making Qt's printer (which looks for the default queue) asks
    // nothing when no queue is wanted.
    class Unasked {
    public:
        Unasked();
        ~Unasked();
        Unasked(const Unasked &) = delete;
        Unasked &operator=(const Unasked &) = delete;
    };
    template <typename Make> static auto unasked(Make make)
    {
        const Unasked guard;
        return make();
    }
};
