// The simulated bus against fixed byte vectors and the behaviour of its
// central units, enrolment reader and modem.

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "sim/SimBus.h"
#include "sim/SimCentralUnit.h"
#include "sim/SimEnrolmentReader.h"
#include "sim/SimFrame.h"
#include "sim/SimModem.h"

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QByteArray request(quint8 to, const QByteArray &data)
{
    return SimFrameCodec::encode(to, SimFrameCodec::kPcAddress, data, true);
}

// Everything the devices send within the window that starts when bytes go in:
// it ends `settleMs` after the last output, or at `maxMs`.
class Line {
public:
    explicit Line(SimBus &bus) : m_bus(bus)
    {
        QObject::connect(&bus, &SimBus::toPc, [this](const QByteArray &b) {
            m_out += b;
            m_last.restart();
        });
    }
    QByteArray send(const QByteArray &bytes, int maxMs = 300, int settleMs = 10)
    {
        m_out.clear();
        m_bus.fromPc(bytes);
        return collect(maxMs, settleMs);
    }
    QByteArray collect(int maxMs, int settleMs = 10)
    {
        QDeadlineTimer deadline(maxMs);
        m_last.invalidate();
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QTest::qSleep(1);
            if (m_last.isValid() && m_last.elapsed() >= settleMs)
                break;
        }
        QByteArray out = m_out;
        m_out.clear();
        return out;
    }
    // The frames in what came back, decoded by the devices' own decoder.
    static QVector<SimFrame> frames(const QByteArray &bytes)
    {
        SimFrameDecoder d;
        return d.feed(bytes);
    }
    // Sends one request and returns the data of the single answer frame.
    QByteArray ask(quint8 to, const QByteArray &data)
    {
        const QVector<SimFrame> f = frames(send(request(to, data)));
        return f.size() == 1 ? f.first().data : QByteArray("<none>");
    }

private:
    SimBus &m_bus;
    QByteArray m_out;
    QElapsedTimer m_last;
};

QByteArray userRecord(const QByteArray &name, quint16 number)
{
    QByteArray r = name.leftJustified(16, ' ', true);
    r += "01" + hex("0102") + QByteArray("123456") + char(0x05) + char(0xF2) + hex("FFFF");
    r += char(number >> 8);
    r += char(number & 0xFF);
    return r;
}

QByteArray be16(int v)
{
    return QByteArray(1, char(v >> 8)) + char(v & 0xFF);
}

const QByteArray kLogin = QByteArray(";24680");

} // namespace

class TestSimBus : public QObject {
    Q_OBJECT
private slots:
    void codec_data();
    void codec();
    void answers_data();
    void answers();
    void pageTransaction();
    void userMemory();
    void pushedIncidences();
    void storedIncidences();
    void faults_data();
    void faults();
    void parity();
    void enrolmentReader();
    void modemDialogue_data();
    void modemDialogue();
};

void TestSimBus::codec_data()
{
    QTest::addColumn<int>("destination");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("secondEtx");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("one byte") << 5 << hex("4A") << true << hex("10 02 05 81 4A CE 10 03 03");
    QTest::newRow("data DLE doubled, out of checksum")
        << 2 << hex("37 01 00 10 20") << true << hex("10 02 02 81 37 01 00 10 10 20 95 10 03 03");
    QTest::newRow("ack") << 5 << hex("06") << true << hex("10 02 05 81 06 82 10 03 03");
    QTest::newRow("test frame, one ETX") << 5 << hex("01") << false << hex("10 02 05 81 01 85 10 03");
    QTest::newRow("address 0x10 not doubled") << 0x10 << hex("01") << false << hex("10 02 10 81 01 90 10 03");
    QTest::newRow("checksum 0x10 doubled") << 5 << hex("94") << true << hex("10 02 05 81 94 10 10 10 03 03");
    QTest::newRow("data ends in DLE") << 5 << hex("37 10") << true << hex("10 02 05 81 37 10 10 B3 10 03 03");
}

void TestSimBus::codec()
{
    QFETCH(int, destination);
    QFETCH(QByteArray, data);
    QFETCH(bool, secondEtx);
    QFETCH(QByteArray, wire);
    QCOMPARE(SimFrameCodec::encode(quint8(destination), 0x81, data, secondEtx).toHex(' '), wire.toHex(' '));
    SimFrameDecoder decoder;
    // Fed byte by byte, with line noise before it: the same frame comes out.
    QVector<SimFrame> frames;
    for (char c : hex("03 10 33") + wire)
        frames += decoder.feed(QByteArray(1, c));
    QCOMPARE(frames.size(), 1);
    QCOMPARE(int(frames.first().destination), destination);
    QCOMPARE(int(frames.first().source), 0x81);
    QCOMPARE(frames.first().data.toHex(' '), data.toHex(' '));
    // One bit changed anywhere in the checksummed part loses the frame.
    QByteArray broken = wire;
    broken[4] = char(broken.at(4) ^ 0x01);
    QVERIFY(decoder.feed(broken).isEmpty());
    QCOMPARE(decoder.droppedFrames(), qint64(1));
}

void TestSimBus::answers_data()
{
    QTest::addColumn<int>("configByte0");
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("test frame") << 0xFF << hex("10 02 05 81 01 85 10 03") << hex("10 02 81 05 06 82 10 03 03");
    QTest::newRow("login programming code")
        << 0xFF << hex("10 02 05 81 3b 32 34 36 38 30 87 10 03 03") << hex("10 02 81 05 3c 45 32 31 fe 10 03 03");
    QTest::newRow("login read/write code")
        << 0xFF << hex("10 02 05 81 3b 51 54 5a 4c 4d e1 10 03 03") << hex("10 02 81 05 3c 55 32 31 ee 10 03 03");
    QTest::newRow("login read code, padded")
        << 0xFF << hex("10 02 05 81 3b 52 44 4b 20 20 e2 10 03 03") << hex("10 02 81 05 3c 4c 32 31 f7 10 03 03");
    QTest::newRow("login wrong code")
        << 0xFF << hex("10 02 05 81 3b 39 39 39 39 39 86 10 03 03") << hex("10 02 81 05 3c 58 e0 10 03 03");
    QTest::newRow("restart refused without login")
        << 0xFF << hex("10 02 05 81 4A CE 10 03 03") << hex("10 02 81 05 15 91 10 03 03");
    QTest::newRow("answer data DLE doubled")
        << 0x10 << hex("10 02 05 81 37 00 40 00 01 f2 10 03 03") << hex("10 02 81 05 47 10 10 c3 10 03 03");
    QTest::newRow("answer checksum DLE doubled")
        << 0xD3 << hex("10 02 05 81 37 00 40 00 01 f2 10 03 03") << hex("10 02 81 05 47 d3 10 10 10 03 03");
    QTest::newRow("unit 16: addresses as they are")
        << 0xFF << hex("10 02 10 81 01 90 10 03") << hex("10 02 81 10 06 97 10 03 03");
    QTest::newRow("bad checksum: silence") << 0xFF << hex("10 02 05 81 01 86 10 03") << QByteArray();
    QTest::newRow("no such unit: silence") << 0xFF << hex("10 02 07 81 01 87 10 03") << QByteArray();
    QTest::newRow("to all units: nobody answers") << 0xFF << hex("10 02 80 81 63 00 62 10 03 03") << QByteArray();
    QTest::newRow("gap byte after DLE: dropped") << 0xFF << hex("10 02 05 81 01 10 07 85 10 03") << QByteArray();
}

void TestSimBus::answers()
{
    QFETCH(int, configByte0);
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    SimBus bus;
    bus.addUnit(5)->setConfig(0, QByteArray(1, char(configByte0)));
    bus.addUnit(16);
    Line line(bus);
    QSignalSpy spy(&bus, &SimBus::toPc);
    bus.fromPc(in);
    QCOMPARE(spy.count(), 0); // never answered inside the call
    QCOMPARE(line.collect(200).toHex(' '), out.toHex(' '));
    QCOMPARE(bus.bytesFromPc(), qint64(in.size()));
    QCOMPARE(bus.bytesToPc(), qint64(out.size()));
}

void TestSimBus::pageTransaction()
{
    SimBus bus;
    SimCentralUnit *cu = bus.addUnit(3);
    Line line(bus);
    const QByteArray timetable = hex("3E 08 30 13 00 FF FF FF FF");
    const QByteArray readBack = QByteArray("7") + char(0) + be16(0x4000 + 1813) + char(9);

    QCOMPARE(line.ask(3, QByteArray("K") + char(1)), hex("15")); // no login yet
    QCOMPARE(line.ask(3, kLogin), QByteArray("<E21"));
    // A write with no page open is acknowledged and changes nothing.
    QCOMPARE(line.ask(3, QByteArray("8") + be16(1813) + timetable), hex("06"));
    QCOMPARE(cu->config(1813, 9), QByteArray(9, char(0xFF)));

    QCOMPARE(line.ask(3, QByteArray("K") + char(1)), hex("06"));
    QCOMPARE(line.ask(3, QByteArray("8") + be16(1813) + timetable), hex("06"));
    QCOMPARE(line.ask(3, QByteArray("8") + be16(6600) + QByteArray(16, 'x')), hex("15")); // past 6614
    QCOMPARE(line.ask(3, QByteArray("8") + be16(0) + QByteArray(33, 'x')), hex("15"));    // over 32 bytes
    QCOMPARE(line.ask(3, readBack), QByteArray("G") + QByteArray(9, char(0xFF)));          // staged only
    QCOMPARE(line.ask(3, QByteArray("9") + char(2)), hex("15"));                             // not the open page
    QCOMPARE(line.ask(3, QByteArray("9") + char(1)), hex("06"));
    QCOMPARE(line.ask(3, readBack), QByteArray("G") + timetable);
    QCOMPARE(cu->config(1813, 9), timetable);
    QCOMPARE(line.ask(3, QByteArray("7") + char(0) + be16(0x4000 + 6610) + char(6)), hex("15")); // past the end

    const QVector<SimCentralUnit::MemoryWrite> log = cu->writeLog();
    QCOMPARE(log.size(), 4);
    QCOMPARE(log[0].page, 0);
    QVERIFY(!log[0].applied);
    QCOMPARE(log[1].page, 1);
    QCOMPARE(log[1].address, 1813);
    QCOMPARE(log[1].bytes, timetable);
    QVERIFY(log[1].applied);
    QVERIFY(!log[2].applied && !log[3].applied);

    // A page left open at logout is not committed.
    QCOMPARE(line.ask(3, QByteArray("K") + char(1)), hex("06"));
    QCOMPARE(line.ask(3, QByteArray("8") + be16(1813) + hex("00")), hex("06"));
    QCOMPARE(line.ask(3, QByteArray("=")), hex("06"));
    QCOMPARE(cu->config(1813, 9), timetable);
}

void TestSimBus::userMemory()
{
    SimBus bus;
    SimCentralUnit *cu = bus.addUnit(0);
    Line line(bus);
    auto counts = [&] { return line.ask(0, hex("19")); };
    auto countsAre = [](int users, int occupied) { return hex("1A") + be16(users) + be16(occupied); };

    QCOMPARE(line.ask(0, QByteArray("0") + userRecord("ANNA", 1)), hex("15")); // no login
    QCOMPARE(line.ask(0, kLogin).left(2), QByteArray("<E"));
    QCOMPARE(counts(), countsAre(0, 0));
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(line.ask(0, QByteArray("0") + userRecord("USER", quint16(100 + n))), hex("40"));
    QCOMPARE(counts(), countsAre(3, 3));
    QCOMPARE(cu->slot(2), userRecord("USER", 102));

    // Deleting leaves a hole; the next insert goes after the last occupied slot.
    QCOMPARE(line.ask(0, QByteArray("1") + be16(2)), QByteArray("A"));
    QCOMPARE(counts(), countsAre(2, 3));
    QCOMPARE(line.ask(0, QByteArray("1") + be16(9)), hex("15")); // beyond the occupied slots
    QCOMPARE(line.ask(0, QByteArray("0") + userRecord("NEW", 500)), hex("40"));
    QCOMPARE(counts(), countsAre(3, 4));
    QCOMPARE(cu->slot(4), userRecord("NEW", 500));

    // Find: zone and slot; a user not stored gets no 'Z'.
    cu->setUserZone(500, 7);
    QCOMPARE(line.ask(0, QByteArray("Y") + be16(500)), QByteArray("Z") + char(7) + be16(4));
    QCOMPARE(line.ask(0, QByteArray("Y") + be16(102)), hex("15"));
    QCOMPARE(line.ask(0, QByteArray("b") + be16(2) + userRecord("BACK", 102)), hex("06"));
    QCOMPARE(line.ask(0, QByteArray("Y") + be16(102)), QByteArray("Z") + char(0xFF) + be16(2));
    QCOMPARE(line.ask(0, QByteArray("b") + be16(1021) + userRecord("NO", 1)), hex("15"));

    // Erase needs ':' and empties everything; a page write refills the counters.
    QCOMPARE(line.ask(0, hex("1B 00")), hex("15"));
    QCOMPARE(line.ask(0, hex("1B 3A")), hex("06"));
    QCOMPARE(counts(), countsAre(0, 0));
    QCOMPARE(line.ask(0, QByteArray("K") + char(3)), hex("06"));
    QCOMPARE(line.ask(0, QByteArray("8") + be16((600 - 512) * 32) + userRecord("PAGE", 9)), hex("06"));
    QCOMPARE(line.ask(0, QByteArray("9") + char(3)), hex("06"));
    QCOMPARE(counts(), countsAre(1, 600));
    QCOMPARE(line.ask(0, QByteArray("7") + char(1) + be16(600 * 32) + char(32)), QByteArray("G") + userRecord("PAGE", 9));
    QCOMPARE(cu->writeLog().last().slot, 600);

    // A full unit refuses an insert.
    cu->setOccupiedSlots(1020);
    QCOMPARE(line.ask(0, QByteArray("0") + userRecord("FULL", 1)), hex("15"));
}

void TestSimBus::pushedIncidences()
{
    SimBus bus;
    SimCentralUnit *cu = bus.addUnit(4);
    cu->setIncidenceRepeatInterval(60);
    Line line(bus);
    const QByteArray record = SimCentralUnit::incidenceRecord(3, QDateTime(QDate(2026, 6, 8), QTime(14, 5)), hex("04 02 00 00 7B"));
    QCOMPARE(record, hex("03 08 06 26 14 05 04 02 00 00 7B"));

    QCOMPARE(line.ask(4, QByteArray("N") + char(1) + QByteArray("*****")), hex("15")); // wrong password
    QCOMPARE(line.ask(4, QByteArray("N") + char(1) + QByteArray("13579")), hex("06"));
    cu->addIncidence(record);
    // Repeated while not acknowledged.
    const QVector<SimFrame> repeated = Line::frames(line.collect(250, 1000));
    QVERIFY2(repeated.size() >= 3, QByteArray::number(repeated.size()));
    for (const SimFrame &f : repeated) {
        QCOMPARE(int(f.source), 4);
        QCOMPARE(int(f.destination), 0x81);
        QCOMPARE(f.data, QByteArray("H") + record);
    }
    // The acknowledgement stops it; the next one follows.
    const QByteArray second = QByteArray("H") + record.left(6) + hex("99");
    cu->addIncidence(record.left(6) + hex("99"));
    const QVector<SimFrame> next = Line::frames(line.send(request(4, hex("06")), 150, 1000));
    QVERIFY(!next.isEmpty());
    QCOMPARE(next.last().data, second);
    // Once the second one is out, the first one is never sent again.
    bool secondSeen = false;
    for (const SimFrame &f : next) {
        secondSeen = secondSeen || f.data == second;
        QVERIFY(!secondSeen || f.data == second);
    }
    line.send(request(4, hex("06")), 10);
    QVERIFY(line.collect(200, 1000).isEmpty());
    QVERIFY(cu->pendingIncidences().isEmpty());
    QVERIFY(cu->storedIncidences().isEmpty());
}

void TestSimBus::storedIncidences()
{
    SimBus bus;
    SimCentralUnit *cu = bus.addUnit(1);
    Line line(bus);
    const QDateTime when(QDate(2026, 1, 2), QTime(3, 4));
    cu->addIncidence(SimCentralUnit::incidenceRecord(1, when)); // PC not registered: stored
    cu->addIncidence(SimCentralUnit::incidenceRecord(2, when));
    QVERIFY(line.collect(100).isEmpty());
    QCOMPARE(line.ask(1, "I"), QByteArray("H") + SimCentralUnit::incidenceRecord(1, when));
    QCOMPARE(line.ask(1, "I"), QByteArray("H") + SimCentralUnit::incidenceRecord(1, when)); // not acknowledged yet
    line.send(request(1, hex("06")), 30);
    QCOMPARE(line.ask(1, "I"), QByteArray("H") + SimCentralUnit::incidenceRecord(2, when));
    line.send(request(1, hex("06")), 30);
    QCOMPARE(line.ask(1, "I"), hex("06")); // none left
    cu->addIncidence(SimCentralUnit::incidenceRecord(5, when));
    QCOMPARE(line.ask(1, "O"), hex("06"));
    QCOMPARE(line.ask(1, "I"), hex("06"));
}

void TestSimBus::faults_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("param");
    QTest::addColumn<int>("source"); // -1: nothing decodable comes back
    QTest::addColumn<int>("minDelayMs");
    QTest::newRow("silent") << int(SimCentralUnit::Fault::Silent) << -1 << -1 << 0;
    QTest::newRow("bad checksum") << int(SimCentralUnit::Fault::BadChecksum) << -1 << -1 << 0;
    QTest::newRow("other address") << int(SimCentralUnit::Fault::WrongAddress) << -1 << 10 << 0;
    QTest::newRow("other address, chosen") << int(SimCentralUnit::Fault::WrongAddress) << 33 << 33 << 0;
    QTest::newRow("late") << int(SimCentralUnit::Fault::Late) << 150 << 9 << 150;
}

void TestSimBus::faults()
{
    QFETCH(int, fault);
    QFETCH(int, param);
    QFETCH(int, source);
    QFETCH(int, minDelayMs);
    SimBus bus;
    SimCentralUnit *cu = bus.addUnit(9);
    cu->setFault(SimCentralUnit::Fault(fault), 1, param); // the next answer only
    Line line(bus);
    QElapsedTimer t;
    t.start();
    const QByteArray out = line.send(request(9, hex("01")), 400);
    const QVector<SimFrame> frames = Line::frames(out);
    if (source < 0) {
        QVERIFY(frames.isEmpty());
        QCOMPARE(out.isEmpty(), fault == int(SimCentralUnit::Fault::Silent));
    } else {
        QCOMPARE(frames.size(), 1);
        QCOMPARE(int(frames.first().source), source);
        QVERIFY(t.elapsed() >= minDelayMs);
    }
    // The fault was for one answer: the next is sound.
    QCOMPARE(line.ask(9, hex("01")), hex("06"));
}

void TestSimBus::parity()
{
    SimBus bus;
    bus.addUnit(2)->setRequiredParity(SimCentralUnit::Parity::Even);
    Line line(bus);
    bus.setLineParity(false);
    QCOMPARE(line.ask(2, hex("01")), QByteArray("<none>"));
    bus.setLineParity(true);
    QCOMPARE(line.ask(2, hex("01")), hex("06"));
}

void TestSimBus::enrolmentReader()
{
    SimBus bus;
    Line line(bus);
    bus.enrolmentReader()->setRepeatInterval(50);
    bus.enrolmentReader()->presentCard(QStringLiteral("A1B2C3D4E5"));
    const QByteArray once = hex("10 02 81 82 1c 00 a1 b2 c3 d4 e5 fe 10 03 03");
    const QByteArray out = line.collect(130, 1000);
    QVERIFY(out.startsWith(once + once));
    line.send(SimFrameCodec::encode(0x82, 0x81, hex("06"), true), 10);
    QVERIFY(line.collect(150, 1000).isEmpty());
    QCOMPARE(bus.enrolmentReader()->acksReceived(), 1);
}

void TestSimBus::modemDialogue_data()
{
    QTest::addColumn<QList<SimModem::Step>>("script");
    QTest::addColumn<QByteArray>("dialAnswer");
    QTest::addColumn<bool>("connects");
    QTest::newRow("connect") << QList<SimModem::Step>{SimModem::result(1, 20)} << QByteArray("1\r") << true;
    QTest::newRow("ringing, then connect 10")
        << QList<SimModem::Step>{SimModem::result(11, 20), SimModem::result(10, 20)} << QByteArray("11\r10\r") << true;
    QTest::newRow("fax noise, then busy")
        << QList<SimModem::Step>{SimModem::raw("+FCERROR\r", 20), SimModem::result(7, 20)} << QByteArray("+FCERROR\r7\r")
        << false;
    QTest::newRow("silence") << QList<SimModem::Step>{} << QByteArray() << false;
}

void TestSimBus::modemDialogue()
{
    QFETCH(QList<SimModem::Step>, script);
    QFETCH(QByteArray, dialAnswer);
    QFETCH(bool, connects);
    SimBus bus;
    bus.addUnit(5);
    bus.setModemAttached(true);
    bus.modem()->setDialScript(script);
    Line line(bus);
    QCOMPARE(line.send("ATZ\r"), QByteArray("ATZ\r\r\nOK\r\n"));  // echo on, words
    QCOMPARE(line.send("AT &F\r"), QByteArray("AT &F\r\r\nOK\r\n"));
    QCOMPARE(line.send("AT V0\r"), QByteArray("AT V0\r0\r"));
    QCOMPARE(line.send("AT E0\r"), QByteArray("AT E0\r0\r")); // echoed while echo was still on
    QCOMPARE(line.send("AT %C0\r"), QByteArray("0\r"));
    line.send("ATDT");
    line.send("5");
    QCOMPARE(line.send("55\r", 300, 60), dialAnswer);
    QCOMPARE(bus.modem()->dialled(), QStringLiteral("555"));
    QCOMPARE(bus.modem()->connected(), connects);
    if (connects) // through the modem: no second ETX
        QCOMPARE(line.send(hex("10 02 05 81 01 85 10 03")).toHex(' '), hex("10 02 81 05 06 82 10 03").toHex(' '));
}

QTEST_GUILESS_MAIN(TestSimBus)
#include "tst_sim_bus.moc"
