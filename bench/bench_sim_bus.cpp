// Prints how many request/answer round trips the in-process simulated bus
// serves per second (memory reads of 32 bytes from one unit), and the time a
// full 1020-user page write sequence takes inside the simulator.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

#include "sim/SimBus.h"
#include "sim/SimCentralUnit.h"
#include "sim/SimFrame.h"

namespace {
QByteArray be16(int v)
{
    return QByteArray(1, char(v >> 8)) + char(v & 0xFF);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SimBus bus;
    bus.addUnit(7);
    int answers = 0;
    QObject::connect(&bus, &SimBus::toPc, [&](const QByteArray &) { ++answers; });
    auto roundTrip = [&](const QByteArray &data) {
        const int before = answers;
        bus.fromPc(SimFrameCodec::encode(7, 0x81, data, true));
        while (answers == before)
            QCoreApplication::processEvents();
    };

    const int reads = 20000;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < reads; ++i)
        roundTrip(QByteArray("7") + char(1) + be16((i % 1024) * 32) + char(32));
    const double readSecs = t.nsecsElapsed() / 1e9;
    std::printf("memory reads (32 bytes): %d in %.3f s = %.0f round trips/s\n", reads, readSecs, reads / readSecs);

    roundTrip(";24680");
    t.restart();
    for (int page = 2; page <= 3; ++page) {
        roundTrip(QByteArray("K") + char(page));
        for (int s = 0; s < 512; ++s)
            roundTrip(QByteArray("8") + be16(s * 32) + QByteArray(32, char('A' + s % 26)));
        roundTrip(QByteArray("9") + char(page));
    }
    std::printf("user pages 2 and 3 written (1024 slots, 1028 frames): %.1f ms\n", t.nsecsElapsed() / 1e6);
    return 0;
}
