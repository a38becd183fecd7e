// The link's own cost per exchange: a 35-byte memory write ('8', address,
// 32 bytes) to a simulated CU that answers at once, in process.
#include "link/CuCommands.h"
#include "link/Link.h"
#include "platform/SimulatedPort.h"
#include "sim/SimBus.h"
#include "sim/SimCentralUnit.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 5000;

    SimBus bus;
    SimCentralUnit *unit = bus.addUnit(3);
    unit->setAnswerDelay(0);
    Link link;
    link.setPortFactory([&bus](const QString &) { return std::make_unique<SimulatedPort>(&bus); });
    if (!link.openSystemPort(QStringLiteral("sim"))) {
        out << "cannot open the simulated port\n";
        return 1;
    }
    CuCommands cu(link);
    link.setCurrentCu(3);
    const QByteArray record(32, 'u');
    if (!cu.Cu_Login(QStringLiteral("24680")) || !cu.Mem_Open_Page(1)) {
        out << "login or page open refused\n";
        return 1;
    }

    int ok = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i)
        ok += cu.Mem_Write(0x0100 + (i % 64) * 32, record) ? 1 : 0;
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    out << QStringLiteral("in-process simulator: %1 exchanges (35-byte memory write), %2 answered, %3 ms total, "
                          "%4 ms per exchange, %5 exchanges/s (including the simulated unit's own work)\n")
               .arg(count).arg(ok).arg(ms, 0, 'f', 1).arg(ms / count, 0, 'f', 4).arg(count / (ms / 1000.0), 0, 'f', 0);
    if (ok != count)
        return 1;

    // The same over a pseudo-terminal to veltrona-cu-sim, unpaced.
    const QString sim = QStringLiteral(VELTRONA_BINARY_DIR "/veltrona-cu-sim");
    if (!QFile::exists(sim)) {
        out << "pty: veltrona-cu-sim not built, skipped\n";
        return 0;
    }
    const QString pty = QStringLiteral("/tmp/bench-link-pty-%1").arg(QCoreApplication::applicationPid());
    QProcess process;
    process.start(sim, {QStringLiteral("--pty"), pty, QStringLiteral("--units"), QStringLiteral("3")});
    for (int i = 0; i < 50 && !QFile::exists(pty); ++i)
        QThread::msleep(50);
    Link ptyLink;
    CuCommands ptyCu(ptyLink);
    if (!ptyLink.openSystemPort(pty)) {
        out << "pty: cannot open " << pty << "\n";
        return 1;
    }
    ptyLink.setCurrentCu(3);
    if (!ptyCu.Cu_Login(QStringLiteral("24680")) || !ptyCu.Mem_Open_Page(1)) {
        out << "pty: login or page open refused\n";
        return 1;
    }
    const int ptyCount = count / 5;
    int ptyOk = 0;
    clock.restart();
    for (int i = 0; i < ptyCount; ++i)
        ptyOk += ptyCu.Mem_Write(0x0100 + (i % 64) * 32, record) ? 1 : 0;
    const double ptyMs = double(clock.nsecsElapsed()) / 1e6;
    out << QStringLiteral("pty to veltrona-cu-sim (unpaced): %1 exchanges, %2 answered, %3 ms per exchange, %4 exchanges/s\n")
               .arg(ptyCount).arg(ptyOk).arg(ptyMs / ptyCount, 0, 'f', 4).arg(ptyCount / (ptyMs / 1000.0), 0, 'f', 0);
    ptyLink.closeSystemPort();
    process.terminate();
    process.waitForFinished(3000);
    return ptyOk == ptyCount ? 0 : 1;
}
