#include "link/CuCommands.h"
#include "link/CuTest.h"
#include "link/FrameCodec.h"
#include "link/FrameReceiver.h"

#include <QTest>

using namespace FrameCodec;

namespace {
QByteArray hx(const char *text)
{
    QByteArray bytes;
    parseHex(QString::fromLatin1(text), &bytes);
    return bytes;
}
} // namespace

class TestLinkCodec : public QObject {
    Q_OBJECT
private slots:
    void encode_data()
    {
        QTest::addColumn<int>("destination");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("directLine");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("CU 5, 4A") << 5 << hx("4A") << true << hx("10 02 05 81 4A CE 10 03 03");
        QTest::newRow("data 0x10 doubled, out of checksum") << 2 << hx("37 01 00 10 20") << true
                                                            << hx("10 02 02 81 37 01 00 10 10 20 95 10 03 03");
        QTest::newRow("ACK to CU 5") << 5 << hx("06") << true << hx("10 02 05 81 06 82 10 03 03");
        QTest::newRow("modem link: one ETX") << 5 << hx("4A") << false << hx("10 02 05 81 4A CE 10 03");
        QTest::newRow("checksum 0x10 doubled") << 5 << hx("94") << true << hx("10 02 05 81 94 10 10 10 03 03");
        QTest::newRow("CU 16 address as it is") << 16 << hx("4A") << true << hx("10 02 10 81 4A DB 10 03 03");
        QTest::newRow("broadcast login") << 0x80 << hx("3B 31 32 33 20 20") << true
                                         << hx("10 02 80 81 3B 31 32 33 20 20 0A 10 03 03");
    }
    void encode()
    {
        QFETCH(int, destination);
        QFETCH(QByteArray, payload);
        QFETCH(bool, directLine);
        QFETCH(QByteArray, frame);
        QCOMPARE(hex(FrameCodec::encode(uint8_t(destination), kPcAddress, payload, directLine)), hex(frame));
    }

    void testFrames()
    {
        QCOMPARE(hex(CuTest::frame(5)), hex(hx("10 02 05 81 01 85 10 03")));
        QCOMPARE(hex(CuTest::frame(16)), hex(hx("10 02 10 81 01 90 10 03")));
    }

    // The receive state machine, one byte stream per row: the frame it
    // accepts (source, data without checksum), or none.
    void receive_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("source");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("drop");
        const int none = int(FrameReceiver::Drop::None);
        QTest::newRow("answer 06 from CU 5") << hx("10 02 81 05 06 82 10 03 03") << true << 5 << hx("06") << none;
        QTest::newRow("noise before the frame") << hx("03 10 41 10 02 81 05 06 82 10 03") << true << 5 << hx("06") << none;
        QTest::newRow("wrong destination") << hx("10 02 82 05 06 81 10 03") << false << 0 << QByteArray() << none;
        QTest::newRow("bad checksum") << hx("10 02 81 05 06 83 10 03") << false << 0 << QByteArray()
                                      << int(FrameReceiver::Drop::BadChecksum);
        QTest::newRow("DLE STX inside a frame restarts it")
            << hx("10 02 81 05 06 10 02 81 03 41 C3 10 03") << true << 3 << hx("41") << none;
        QTest::newRow("checksum 0x10 sent doubled") << hx("10 02 81 05 94 10 10 10 03") << true << 5 << hx("94") << none;
        QTest::newRow("payload ending in 0x10") << hx("10 02 81 05 47 10 10 C3 10 03") << true << 5 << hx("47 10") << none;
        QTest::newRow("unexpected byte after DLE") << hx("10 02 81 05 06 10 41 82 10 03") << false << 0 << QByteArray()
                                                   << int(FrameReceiver::Drop::BadEscape);
        QTest::newRow("source 16 read as it is") << hx("10 02 81 10 06 97 10 03") << true << 16 << hx("06") << none;
        QTest::newRow("checksum only") << hx("10 02 81 05 84 10 03") << false << 0 << QByteArray()
                                       << int(FrameReceiver::Drop::TooShort);
        QByteArray oversize = hx("10 02 81 05");
        oversize.append(QByteArray(600, 'G'));
        oversize.append(hx("84 10 03"));
        QTest::newRow("longer than the buffer") << oversize << false << 0 << QByteArray()
                                                << int(FrameReceiver::Drop::Oversize);
    }
    void receive()
    {
        QFETCH(QByteArray, stream);
        QFETCH(bool, accepted);
        QFETCH(int, source);
        QFETCH(QByteArray, data);
        QFETCH(int, drop);
        FrameReceiver receiver;
        int frames = 0;
        for (char c : stream) {
            if (receiver.feed(uint8_t(c)) == FrameReceiver::Event::Accepted) {
                ++frames;
                QCOMPARE(int(receiver.source()), source);
                QCOMPARE(hex(receiver.data().chopped(1)), hex(data));
            }
        }
        QCOMPARE(frames, accepted ? 1 : 0);
        QCOMPARE(int(receiver.lastDrop()), drop);
        QVERIFY(receiver.idle() || !accepted);
        // After any of these the machine takes the next good frame.
        receiver.reset();
        int next = 0;
        for (char c : hx("10 02 81 07 06 80 10 03"))
            next += receiver.feed(uint8_t(c)) == FrameReceiver::Event::Accepted;
        QCOMPARE(next, 1);
    }

    void testCollector()
    {
        TestFrameCollector collector(kPcAddress);
        // Split delivery, an answer to all CUs kept, a CU 16 answer read in place.
        QList<TestFrameCollector::Frame> frames = collector.feed(hx("55 10 02 81 05"));
        QVERIFY(frames.isEmpty());
        frames = collector.feed(hx("06 82 10 03 10 02 80 05 06 83 10 03 10 02 81 10 16 87 10 03 10 02 83 05 06"));
        QCOMPARE(frames.size(), 3);
        QCOMPARE(int(frames[0].source), 5);
        QCOMPARE(int(frames[0].code), 6);
        QCOMPARE(int(frames[1].destination), 0x80);
        QCOMPARE(int(frames[2].source), 16);
        QCOMPARE(int(frames[2].code), 0x16);
    }

    void loginPayload_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("3 characters padded") << "123" << QByteArray(";123  ");
        QTest::newRow("7 characters cut") << "1234567" << QByteArray(";12345");
        QTest::newRow("empty") << "" << QByteArray(";     ");
    }
    void loginPayload()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, payload);
        QCOMPARE(CuCommands::loginPayload(code), payload);
    }

    void dateTime()
    {
        // 8 June 2026 is a Monday.
        QCOMPARE(hex(CuCommands::dateTimePayload(2026, 1, 6, 8, 14, 5)), hex(hx("50 26 01 06 08 14 05 00")));
        QCOMPARE(hex(CuCommands::dateTimePayload(1999, 7, 12, 31, 23, 59)), hex(hx("50 99 07 12 31 23 59 00")));
    }

    void userRecordPlace_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("address");
        QTest::newRow("0") << 0 << 2 << 0;
        QTest::newRow("511") << 511 << 2 << 16352;
        QTest::newRow("512") << 512 << 3 << 0;
        QTest::newRow("1023") << 1023 << 3 << 16352;
    }
    void userRecordPlace()
    {
        QFETCH(int, record);
        QFETCH(int, page);
        QFETCH(int, address);
        QCOMPARE(CuCommands::userRecordPage(record), page);
        QCOMPARE(CuCommands::userRecordAddress(record), address);
    }

    void devicePaths()
    {
        LinkSettings s;
        QCOMPARE(s.devicePath("COM1"), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(s.devicePath("com12"), QStringLiteral("/dev/ttyS11"));
        s.portPaths.insert(QStringLiteral("COM3"), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(s.devicePath("Com3"), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(s.devicePath("sim"), QStringLiteral("sim"));
    }
};

QTEST_GUILESS_MAIN(TestLinkCodec)
#include "tst_link_codec.moc"
