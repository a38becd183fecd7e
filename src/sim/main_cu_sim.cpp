// veltrona-cu-sim: serves the simulated BRX bus on a pseudo-terminal so that
// the program (or socat) can open the slave side as its serial port.
//
//   veltrona-cu-sim --pty LINK [--units 0,1,5] [--baud N] [--code CODE]
//                   [--answer-delay MS] [--dump CU:FILE]...
//
// LINK becomes a symbolic link to the slave device, whose path is printed on
// the first line of the output. The byte counters are printed on exit and on
// SIGUSR1; the memory of each unit named by --dump (its 6615 configuration
// bytes followed by its 1024 × 32 user bytes) is written to its file at the
// same moments.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "sim/SimBus.h"
#include "sim/SimCentralUnit.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int sig)
{
    const char c = char(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

// The master side of the pty. With a baud rate it models the BRX bus as one
// shared half-duplex line at 11 bits a byte: bytes the program writes reach
// the units only when their line time has passed, and bytes the units send
// reach the program at the end of their own line time, after whatever was
// already on the line.
class PtyLine : public QObject {
public:
    PtyLine(int master, SimBus *bus, int baud) : m_master(master), m_bus(bus), m_baud(baud)
    {
        m_reader = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
        connect(m_reader, &QSocketNotifier::activated, this, [this] { readSome(); });
        m_reader->setEnabled(false);
        // Whether a program holds the slave open is checked by polling: with
        // no slave open the master reports a hang-up, which is not an error
        // here – the program may close and reopen its port at any time.
        connect(&m_watch, &QTimer::timeout, this, [this] { checkOpen(); });
        m_watch.start(20);
        m_pacer.setSingleShot(true);
        m_pacer.setTimerType(Qt::PreciseTimer);
        connect(&m_pacer, &QTimer::timeout, this, [this] { deliverDue(); });
        m_clock.start();
        connect(bus, &SimBus::toPc, this, [this](const QByteArray &bytes) {
            if (!m_open)
                return; // nobody listens on the line: the bytes are lost
            if (m_baud <= 0) {
                m_out.append(bytes);
                writeSome();
                return;
            }
            // Cut into pieces of about 5 ms of line time so the program sees
            // a long answer arrive progressively, as on a real line.
            const qsizetype piece = qMax<qsizetype>(1, m_baud / 11 / 200);
            for (qsizetype i = 0; i < bytes.size(); i += piece)
                schedule(bytes.mid(i, piece), Direction::ToPc);
        });
        checkOpen();
    }

    qint64 bytesWritten() const { return m_written; }

private:
    enum class Direction { FromPc, ToPc };
    struct Pending {
        qint64 dueNs;
        Direction direction;
        QByteArray bytes;
    };

    // Puts `bytes` on the line after what is already there; they arrive when
    // their last bit has been sent.
    void schedule(const QByteArray &bytes, Direction direction)
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_lineFreeAtNs = qMax(now, m_lineFreeAtNs) + qint64(bytes.size()) * 11 * 1000000000LL / m_baud;
        m_pending.append(Pending{m_lineFreeAtNs, direction, bytes});
        armPacer();
    }

    void armPacer()
    {
        if (m_pending.isEmpty() || m_pacer.isActive())
            return;
        const qint64 waitNs = m_pending.first().dueNs - m_clock.nsecsElapsed();
        m_pacer.start(int(qMax<qint64>(0, waitNs / 1000000)));
    }

    void deliverDue()
    {
        while (!m_pending.isEmpty()) {
            // The timer has millisecond steps: wait out the last fraction.
            const qint64 early = m_pending.first().dueNs - m_clock.nsecsElapsed();
            if (early > 1000000)
                break;
            while (m_clock.nsecsElapsed() < m_pending.first().dueNs) {
            }
            const Pending due = m_pending.takeFirst();
            if (due.direction == Direction::FromPc) {
                m_bus->fromPc(due.bytes);
            } else if (m_open) {
                m_out.append(due.bytes);
                writeSome();
            }
        }
        armPacer();
    }

    void checkOpen()
    {
        pollfd p{m_master, POLLIN, 0};
        ::poll(&p, 1, 0);
        const bool open = !(p.revents & POLLHUP);
        if (open != m_open) {
            m_open = open;
            m_reader->setEnabled(open);
            if (!open)
                m_out.clear();
        }
        if (m_open && (p.revents & POLLIN))
            readSome();
    }

    void readSome()
    {
        char buf[512];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            if (m_baud > 0)
                schedule(QByteArray(buf, int(n)), Direction::FromPc);
            else
                m_bus->fromPc(QByteArray(buf, int(n)));
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            // EIO: the program closed the slave. Wait for it to come back.
            m_open = false;
            m_reader->setEnabled(false);
            m_out.clear();
        }
    }

    void writeSome()
    {
        while (!m_out.isEmpty()) {
            const ssize_t n = ::write(m_master, m_out.constData(), size_t(m_out.size()));
            if (n <= 0) {
                if (n < 0 && errno == EAGAIN)
                    QTimer::singleShot(5, this, [this] { writeSome(); });
                return;
            }
            m_out.remove(0, n);
            m_written += n;
        }
    }

    int m_master;
    SimBus *m_bus;
    int m_baud;
    bool m_open = false;
    QSocketNotifier *m_reader;
    QTimer m_watch;
    QTimer m_pacer;
    QElapsedTimer m_clock;
    qint64 m_lineFreeAtNs = 0;
    QList<Pending> m_pending;
    QByteArray m_out;
    qint64 m_written = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veltrona-cu-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated BRX bus on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("pty"), QStringLiteral("Symbolic link to create to the slave device."),
                      QStringLiteral("LINK")});
    parser.addOption({QStringLiteral("units"), QStringLiteral("Central unit addresses, comma separated (default 0)."),
                      QStringLiteral("LIST"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("baud"), QStringLiteral("Pace the line, both ways, to this baud rate (11 bits a byte)."),
                      QStringLiteral("N"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("code"), QStringLiteral("Programming code of every unit."), QStringLiteral("CODE")});
    parser.addOption({QStringLiteral("answer-delay"), QStringLiteral("Answer delay of every unit in ms."),
                      QStringLiteral("MS"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("dump"), QStringLiteral("Write the memory of unit CU to FILE on exit and SIGUSR1."),
                      QStringLiteral("CU:FILE")});
    parser.process(app);

    const QString link = parser.value(QStringLiteral("pty"));
    if (link.isEmpty()) {
        std::fprintf(stderr, "veltrona-cu-sim: --pty LINK is required\n");
        return 2;
    }
    bool ok = false;
    const int baud = parser.value(QStringLiteral("baud")).toInt(&ok);
    if (!ok || baud < 0) {
        std::fprintf(stderr, "veltrona-cu-sim: bad --baud value\n");
        return 2;
    }
    const int answerDelay = parser.value(QStringLiteral("answer-delay")).toInt(&ok);
    if (!ok || answerDelay < 0) {
        std::fprintf(stderr, "veltrona-cu-sim: bad --answer-delay value\n");
        return 2;
    }

    SimBus bus;
    for (const QString &part : parser.value(QStringLiteral("units")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int a = part.trimmed().toInt(&ok);
        if (!ok || a < 0 || a > 63) {
            std::fprintf(stderr, "veltrona-cu-sim: bad unit address '%s'\n", qPrintable(part));
            return 2;
        }
        SimCentralUnit *u = bus.addUnit(a);
        u->setAnswerDelay(answerDelay);
        if (parser.isSet(QStringLiteral("code")))
            u->setProgrammingCode(parser.value(QStringLiteral("code")).toLatin1());
    }

    QList<QPair<int, QString>> dumps;
    for (const QString &d : parser.values(QStringLiteral("dump"))) {
        const int colon = d.indexOf(QLatin1Char(':'));
        const int a = colon > 0 ? d.left(colon).toInt(&ok) : -1;
        if (colon <= 0 || !ok || !bus.unit(a) || colon + 1 >= d.size()) {
            std::fprintf(stderr, "veltrona-cu-sim: bad --dump '%s' (CU:FILE of a simulated unit)\n", qPrintable(d));
            return 2;
        }
        dumps.append({a, d.mid(colon + 1)});
    }

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::perror("veltrona-cu-sim: pseudo-terminal");
        return 1;
    }
    const char *slaveName = ::ptsname(master);
    if (!slaveName) {
        std::perror("veltrona-cu-sim: ptsname");
        return 1;
    }
    const QByteArray slavePath(slaveName);
    {
        // Raw mode: no echo, no line editing, no translation of CR or NL.
        const int slave = ::open(slavePath.constData(), O_RDWR | O_NOCTTY);
        if (slave >= 0) {
            termios t{};
            if (::tcgetattr(slave, &t) == 0) {
                ::cfmakeraw(&t);
                ::tcsetattr(slave, TCSANOW, &t);
            }
            ::close(slave);
        }
    }
    const QByteArray linkPath = QFile::encodeName(link);
    ::unlink(linkPath.constData());
    if (::symlink(slavePath.constData(), linkPath.constData()) != 0) {
        std::perror("veltrona-cu-sim: symlink");
        return 1;
    }
    std::printf("%s\n", slavePath.constData());
    std::fflush(stdout);

    PtyLine line(master, &bus, baud);

    auto report = [&] {
        std::printf("bytes from PC: %lld, bytes to PC: %lld\n", static_cast<long long>(bus.bytesFromPc()),
                    static_cast<long long>(line.bytesWritten()));
        std::fflush(stdout);
        for (const auto &[a, file] : std::as_const(dumps)) {
            QFile f(file);
            const SimCentralUnit *u = bus.unit(a);
            if (!u || !f.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || f.write(u->configMemory() + u->userMemory()) < 0)
                std::fprintf(stderr, "veltrona-cu-sim: cannot write dump %s\n", qPrintable(file));
        }
    };

    if (::pipe(g_signalPipe) != 0) {
        std::perror("veltrona-cu-sim: pipe");
        return 1;
    }
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGUSR1, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&] {
        char c = 0;
        if (::read(g_signalPipe[0], &c, 1) != 1)
            return;
        report();
        if (c != SIGUSR1)
            app.quit();
    });

    const int rc = app.exec();
    ::unlink(linkPath.constData());
    ::close(master);
    return rc;
}
