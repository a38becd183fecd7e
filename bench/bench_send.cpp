// Line efficiency of a full send: CONF_USR of a block with 1020 users and
// every table full, to veltrona-cu-sim paced at 38400 baud over a pty. The
// lower bound is the line time of every byte sent and received (11 bits a
// byte) plus the pauses the connection prescribes; the ratio is measured
// time over that bound.
#include "frame/Lang.h"
#include "link/CuCommands.h"
#include "link/Link.h"
#include "platform/Dialogs.h"
#include "sim/SimCentralUnit.h"
#include "support/TestPaths.h"
#include "support/TransferFixture.h"
#include "transfer/Send.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    constexpr int kBaud = 38400;
    TestFolders folders;
    if (!folders.isValid())
        return 1;
    const QString work = folders.workDir();
    TransferFixture::createBlock(work);
    TransferFixture::fillBlock(work, 1020);

    QTemporaryDir dir;
    const QString linePath = dir.filePath(QStringLiteral("line"));
    QProcess sim;
    sim.start(TestPaths::cuSimExecutable(), {QStringLiteral("--pty"), linePath, QStringLiteral("--units"),
                                             QString::number(TransferFixture::kCu), QStringLiteral("--baud"), QString::number(kBaud)});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "bench_send: veltrona-cu-sim did not start\n");
        return 1;
    }
    sim.readLine();

    Link link;
    LinkSettings &s = link.settings();
    s.Sys_Port = linePath;
    CuCommands commands(link);
    commands.setDetected(TransferFixture::kCu, true);
    commands.setAskCode(false);
    commands.setSavedProgrammingCode(SimCentralUnit::factoryCode(SimCentralUnit::ProgrammingCode));
    NonInteractiveDialogs dialogs(false);
    Dialogs::install(&dialogs);

    Sender sender(commands);
    QElapsedTimer timer;
    timer.start();
    const SendResult r = sender.confirm(SendRequest{work, TransferFixture::kInstallation, TransferFixture::kBlock,
                                                    TransferFixture::kCu, Lang::word(QStringLiteral("CONF_USR"))});
    const double measured = timer.nsecsElapsed() / 1e9;
    Dialogs::install(nullptr);

    ::kill(pid_t(sim.processId()), SIGUSR1);
    QByteArray counters;
    QElapsedTimer wait;
    wait.start();
    while (!counters.contains("bytes to PC") && wait.elapsed() < 5000) {
        sim.waitForReadyRead(200);
        counters += sim.readAll();
    }
    sim.kill();
    sim.waitForFinished(2000);
    const QRegularExpression re(QStringLiteral("bytes from PC: (\\d+), bytes to PC: (\\d+)"));
    QRegularExpressionMatch m;
    for (const QString &line : QString::fromLatin1(counters).split(QLatin1Char('\n')))
        if (re.match(line).hasMatch())
            m = re.match(line);
    if (!r.ok() || !m.hasMatch()) {
        std::fprintf(stderr, "bench_send: send %s (%s), counters %s\n", r.ok() ? "ok" : "failed",
                     qPrintable(r.failedCaptions().join(QStringLiteral(", ")) + r.connectionMessage), counters.constData());
        return 1;
    }
    const qint64 fromPc = m.captured(1).toLongLong();
    const qint64 toPc = m.captured(2).toLongLong();
    // Prescribed pauses: after the isolation at login, before reading the
    // user-memory header, after the isolation is ended at logout.
    const double pauses = (s.isolationSleepMs * 2 + s.connectPauseMs) / 1000.0;
    const double line = double(fromPc + toPc) * 11.0 / kBaud;
    const double bound = line + pauses;
    std::printf("CONF_USR, 1020 users, every table full, %d baud over a pty\n", kBaud);
    std::printf("bytes sent %lld, bytes received %lld\n", static_cast<long long>(fromPc), static_cast<long long>(toPc));
    std::printf("lower bound %.3f s (line %.3f s + pauses %.3f s)\n", bound, line, pauses);
    std::printf("measured %.3f s, ratio %.3f (target <= 1.10)\n", measured, measured / bound);
    return 0;
}
