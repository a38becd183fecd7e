// veltrona-cu-sim end to end: a real pseudo-terminal opened with plain POSIX
// calls, the way a serial port is opened.

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "support/TestPaths.h"

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

int openLine(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1;
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    t.c_cflag |= CSTOPB | CLOCAL | CREAD;
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

// Reads until `count` bytes came or the time is up.
QByteArray readLine(int fd, int count, int timeoutMs = 3000)
{
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (got.size() < count && t.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0 && (p.revents & POLLIN)) {
            char buf[256];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0)
                got.append(buf, int(n));
        }
    }
    return got;
}

} // namespace

class TestCuSimPty : public QObject {
    Q_OBJECT
private slots:
    void loginThroughPty();
};

void TestCuSimPty::loginThroughPty()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("line"));
    const QString dump = dir.filePath(QStringLiteral("cu5.bin"));
    QProcess sim;
    sim.start(TestPaths::cuSimExecutable(), {QStringLiteral("--pty"), link, QStringLiteral("--units"),
                                             QStringLiteral("0,5"), QStringLiteral("--code"), QStringLiteral("777"),
                                             QStringLiteral("--dump"), QStringLiteral("5:") + dump});
    QVERIFY2(sim.waitForStarted(), qPrintable(sim.errorString()));
    auto stop = qScopeGuard([&] {
        if (sim.state() != QProcess::NotRunning) {
            sim.kill();
            sim.waitForFinished(2000);
        }
    });
    QVERIFY(sim.waitForReadyRead(5000));
    const QString slave = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY(slave.startsWith(QStringLiteral("/dev/")));
    QCOMPARE(QFile::symLinkTarget(link), slave);

    // Login with the code given on the command line: ";777  " to unit 5.
    const QByteArray login = hex("10 02 05 81 3b 37 37 37 20 20 88 10 03 03");
    const QByteArray answer = hex("10 02 81 05 3c 45 32 31 fe 10 03 03");
    int fd = openLine(link);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, login.constData(), size_t(login.size())), ssize_t(login.size()));
    QCOMPARE(readLine(fd, answer.size()).toHex(' '), answer.toHex(' '));
    ::close(fd);

    // The program may close its port and open it again: the line still works.
    fd = openLine(link);
    QVERIFY(fd >= 0);
    const QByteArray test = hex("10 02 05 81 01 85 10 03");
    QCOMPARE(::write(fd, test.constData(), size_t(test.size())), ssize_t(test.size()));
    QCOMPARE(readLine(fd, 9).toHex(' '), hex("10 02 81 05 06 82 10 03 03").toHex(' '));
    ::close(fd);

    ::kill(pid_t(sim.processId()), SIGTERM);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    const QByteArray out = sim.readAllStandardOutput();
    QVERIFY2(out.contains(QByteArray("bytes from PC: ") + QByteArray::number(login.size() + test.size())
                          + ", bytes to PC: " + QByteArray::number(answer.size() + 9)),
             out.constData());
    QFile f(dump);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray memory = f.readAll();
    QCOMPARE(memory.size(), 6615 + 1024 * 32);
    QCOMPARE(memory.mid(6615 + 10, 5), QByteArray("777  ")); // programming code in user slot 0
    QVERIFY(!QFile::exists(link));
}

QTEST_GUILESS_MAIN(TestCuSimPty)
#include "tst_cu_sim_pty.moc"
