#include "ScriptedPort.h"

#include "link/CuCommands.h"
#include "link/Link.h"
#include "link/Modem.h"

#include <QElapsedTimer>
#include <QTest>

using namespace FrameCodec;

namespace {
QByteArray hx(const char *text)
{
    QByteArray bytes;
    parseHex(QString::fromLatin1(text), &bytes);
    return bytes;
}

// A link on a scripted port with a short frame time-out.
struct Fixture {
    Link link;
    ScriptedPort *port = nullptr;

    Fixture()
    {
        LinkSettings &s = link.settings();
        s.Vel_Trama = 60;
        s.Off_By_Insert_User = 100;
        s.Off_By_update_User = 80;
        s.Off_By_MODEM = 120;
        s.longTimeoutOpenPageMs = 300;
        s.longTimeoutClosePageMs = 400;
        s.isolationSleepMs = 1;
        s.connectPauseMs = 1;
        link.setPortFactory([this](const QString &) {
            auto p = std::make_unique<ScriptedPort>();
            port = p.get();
            return p;
        });
        QVERIFY(link.openSystemPort(QStringLiteral("scripted")));
    }
    QList<QByteArray> payloads() const
    {
        QList<QByteArray> list;
        for (const QByteArray &frame : std::as_const(port->writes))
            list.append(ScriptedPort::payloadOf(frame));
        return list;
    }
    QList<int> destinations() const
    {
        QList<int> list;
        for (const QByteArray &frame : std::as_const(port->writes))
            list.append(uint8_t(frame[2]));
        return list;
    }
};
} // namespace

class TestLinkExchange : public QObject {
    Q_OBJECT
private slots:
    // Frames written and time taken by a CU that never answers.
    void attempts_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("destination");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("modem");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("minMs");
        QTest::newRow("mode 1: three attempts") << 1 << 3 << hx("4A") << false << 3 << 0 << 3 * 60;
        QTest::newRow("mode 2: one attempt") << 2 << 3 << hx("4A") << false << 1 << 0 << 60;
        QTest::newRow("mode 0 to one CU: once") << 0 << 3 << hx("3D") << false << 1 << 1 << 0;
        QTest::newRow("mode 0 to all CUs: twice") << 0 << 0x80 << hx("63 00") << false << 2 << 1 << 0;
        QTest::newRow("'0' grace") << 1 << 3 << hx("30 01") << false << 3 << 0 << 3 * (60 + 100);
        QTest::newRow("'0' grace, modem") << 1 << 3 << hx("30 01") << true << 3 << 0 << 3 * (60 + 100 + 120);
        QTest::newRow("'b' grace") << 1 << 3 << hx("62 01") << false << 3 << 0 << 3 * (60 + 80);
        QTest::newRow("'b' grace, modem") << 1 << 3 << hx("62 01") << true << 3 << 0 << 3 * (60 + 80 + 120);
    }
    void attempts()
    {
        QFETCH(int, mode);
        QFETCH(int, destination);
        QFETCH(QByteArray, payload);
        QFETCH(bool, modem);
        QFETCH(int, frames);
        QFETCH(int, result);
        QFETCH(int, minMs);
        Fixture f;
        f.link.setModemConnection(modem);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(int(f.link.Exchange(payload, mode, uint8_t(destination))), result);
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(f.port->writes.size(), frames);
        QCOMPARE(int(f.link.framesSent()), frames);
        QVERIFY2(elapsed >= minMs, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
        // Without the grace delays of '0'/'b' the modem adds nothing: an upper
        // bound well under the next case's lower bound shows the delay is not applied twice.
        QVERIFY2(elapsed < minMs + 150 * frames + 100, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
        if (result == 0)
            QVERIFY(f.link.noAnswerYet());
    }

    // The long time-out of 'K', '9' and 0x1B carries an answer later than the
    // frame time-out, for one exchange only.
    void longTimeOuts_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("'K' open page") << QByteArray("K");
        QTest::newRow("'9' close page") << QByteArray("9");
        QTest::newRow("0x1B erase users") << QByteArray("\x1B");
    }
    void longTimeOuts()
    {
        QFETCH(QByteArray, command);
        Fixture f;
        CuCommands cu(f.link);
        f.link.setCurrentCu(3);
        f.port->onWrite = [](ScriptedPort &p, const QByteArray &) { p.deliver(ScriptedPort::answer(3, hx("06")), 200); };
        bool ok = false;
        if (command == "K")
            ok = cu.Mem_Open_Page(1);
        else if (command == "9")
            ok = cu.Mem_Close_Page(1);
        else
            ok = cu.eraseAllUsers();
        QVERIFY(ok);
        QCOMPARE(f.port->writes.size(), 1);
        QCOMPARE(f.link.longTimeout(), 0);
        // The next command waits the normal time: the same late answer is too late.
        QTest::qWait(250);
        f.port->writes.clear();
        QCOMPARE(int(f.link.Exchange(hx("4A"), 2, 3)), 0);
    }

    void answerers_data()
    {
        QTest::addColumn<int>("destination");
        QTest::addColumn<QByteArray>("incoming");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("frames");
        QTest::addColumn<bool>("incidence");
        const QByteArray from4 = ScriptedPort::answer(4, hx("06"));
        const QByteArray from3 = ScriptedPort::answer(3, hx("06"));
        const QByteArray h4 = ScriptedPort::answer(4, hx("48 01 02"));
        QTest::newRow("CU 4 answers a request to CU 3") << 3 << from4 << 0 << 3 << false;
        QTest::newRow("CU 4 answers a request to all") << 0x80 << from4 << 6 << 1 << false;
        // The answer that follows replaces the incidence in the answer buffer and
        // clears the pending flag; the CU repeats an unacknowledged incidence.
        QTest::newRow("'H' of CU 4 before CU 3's answer") << 3 << (h4 + from3) << 6 << 1 << false;
        QTest::newRow("'H' alone is pending") << 3 << h4 << 0 << 3 << true;
        QTest::newRow("0x01 taken as an answer") << 3 << ScriptedPort::answer(3, hx("01")) << 1 << 1 << false;
        QTest::newRow("0x01 after the answer changes nothing") << 3 << (from3 + ScriptedPort::answer(3, hx("01"))) << 6 << 1 << false;
    }
    void answerers()
    {
        QFETCH(int, destination);
        QFETCH(QByteArray, incoming);
        QFETCH(int, result);
        QFETCH(int, frames);
        QFETCH(bool, incidence);
        Fixture f;
        f.port->onWrite = [&](ScriptedPort &p, const QByteArray &) { p.deliver(incoming, 5); };
        QCOMPARE(int(f.link.Exchange(hx("4A"), 1, uint8_t(destination))), result);
        QCOMPARE(f.port->writes.size(), frames);
        QTest::qWait(20);
        QCOMPARE(int(f.link.answerCode()), result == 0 ? int(uint8_t(incoming[4])) : result);
        QCOMPARE(f.link.incidencePending(), incidence);
    }

    // A frame cut by a pause longer than the byte gap is lost; the bytes
    // are taken at most 128 per notification.
    void gapAndChunks()
    {
        Fixture f;
        const QByteArray frame = ScriptedPort::answer(3, hx("06"));
        f.port->onWrite = [&](ScriptedPort &p, const QByteArray &) {
            p.deliver(frame.left(4), 1);
            p.deliver(frame.mid(4), 200);
        };
        f.link.settings().Vel_Trama = 400;
        QCOMPARE(int(f.link.Exchange(hx("4A"), 2, 3)), 0);

        Fixture g;
        QByteArray data = hx("47");
        data.append(QByteArray(255, 'x'));
        const QByteArray big = ScriptedPort::answer(3, data);
        g.port->onWrite = [&](ScriptedPort &p, const QByteArray &) { p.deliver(big, 1); };
        QCOMPARE(int(g.link.Exchange(hx("37 00 00 00 FF"), 1, 3)), 0x47);
        QCOMPARE(g.link.answerParams().size(), 255);
        QCOMPARE(g.link.answerCount(), 257);
        for (int n : std::as_const(g.port->readSizes))
            QVERIFY(n <= 128);
    }

    void busyGuard()
    {
        Fixture f;
        uint8_t nested = 0xFF;
        f.port->onWrite = [&](ScriptedPort &p, const QByteArray &) {
            p.deliver(ScriptedPort::answer(3, hx("06")), 30);
        };
        QTimer::singleShot(10, [&] { nested = f.link.Exchange(hx("4A"), 1, 5); });
        QCOMPARE(int(f.link.Exchange(hx("4A"), 1, 3)), 6);
        QCOMPARE(int(nested), 0);
        QVERIFY(!f.link.lastRefusal().isEmpty());
        QCOMPARE(f.port->writes.size(), 1);
    }

    void loginAnswers_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QList<QByteArray>>("payloads");
        const QByteArray login = QByteArray(";123  ");
        QTest::newRow("level only: version 1 0") << hx("3C 45") << true << "E" << QByteArray("10") << QList<QByteArray>{login};
        QTest::newRow("level and version") << hx("3C 4C 32 31") << true << "L" << QByteArray("21") << QList<QByteArray>{login};
        QTest::newRow("level X: '=' alone") << hx("3C 58") << false << "X" << QByteArray("10")
                                            << QList<QByteArray>{login, QByteArray("=")};
        QTest::newRow("wrong answer") << hx("06") << false << "X" << QByteArray("10")
                                      << QList<QByteArray>{login, QByteArray("=")};
    }
    void loginAnswers()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, accepted);
        QFETCH(QString, level);
        QFETCH(QByteArray, version);
        QFETCH(QList<QByteArray>, payloads);
        Fixture f;
        CuCommands cu(f.link);
        f.link.setCurrentCu(7);
        f.port->onWrite = [&](ScriptedPort &p, const QByteArray &frame) {
            if (ScriptedPort::payloadOf(frame).startsWith(';'))
                p.deliver(ScriptedPort::answer(7, answer), 2);
        };
        QCOMPARE(cu.Cu_Login(QStringLiteral("123")), accepted);
        QCOMPARE(QString(QLatin1Char(cu.loginLevel())), level);
        QCOMPARE(cu.version(), version);
        QCOMPARE(f.payloads(), payloads);
        QCOMPARE(f.link.stopFlag(), !accepted);
        QCOMPARE(cu.savedProgrammingCode(), level == "E" ? QByteArray("123  ") : QByteArray());
    }

    void logout()
    {
        // To all CUs: '=' without waiting, then isolation off, both broadcast.
        Fixture f;
        CuCommands cu(f.link);
        cu.setSavedProgrammingCode("24680");
        f.link.setCurrentCu(0x80);
        cu.Cu_Logout();
        QCOMPARE(f.payloads(), (QList<QByteArray>{"=24680", "=24680", hx("63 00"), hx("63 00")}));
        QCOMPARE(f.destinations(), (QList<int>{0x80, 0x80, 0x80, 0x80}));
        QVERIFY(!f.link.systemPort()); // a direct line closes the port

        // To one detected CU: '=' with the code, waiting for the answer.
        Fixture g;
        CuCommands cu2(g.link);
        cu2.setSavedProgrammingCode("24680");
        cu2.setDetected(9, true);
        g.link.setCurrentCu(9);
        g.port->onWrite = [](ScriptedPort &p, const QByteArray &frame) {
            if (uint8_t(frame[2]) == 9)
                p.deliver(ScriptedPort::answer(9, hx("06")), 2);
        };
        cu2.Cu_Logout();
        QCOMPARE(g.payloads(), (QList<QByteArray>{"=24680", hx("63 00"), hx("63 00")}));
        QCOMPARE(g.destinations(), (QList<int>{9, 0x80, 0x80}));

        // A CU neither detected nor selected gets no '='.
        Fixture h;
        CuCommands cu3(h.link);
        h.link.setCurrentCu(9);
        cu3.Cu_Logout();
        QCOMPARE(h.payloads(), (QList<QByteArray>{hx("63 00"), hx("63 00")}));
    }

    void writeUserRecord_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<QByteArray>("open");
        QTest::addColumn<QByteArray>("addressBytes");
        QTest::newRow("511") << 511 << hx("4B 02") << hx("3F E0");
        QTest::newRow("512") << 512 << hx("4B 03") << hx("00 00");
        QTest::newRow("1023") << 1023 << hx("4B 03") << hx("3F E0");
    }
    void writeUserRecord()
    {
        QFETCH(int, record);
        QFETCH(QByteArray, open);
        QFETCH(QByteArray, addressBytes);
        Fixture f;
        CuCommands cu(f.link);
        f.link.setCurrentCu(2);
        f.port->onWrite = [](ScriptedPort &p, const QByteArray &) { p.deliver(ScriptedPort::answer(2, hx("06")), 1); };
        const QByteArray bytes(32, 'u');
        QVERIFY(cu.Write_User_Record(record, bytes));
        const QList<QByteArray> sent = f.payloads();
        QCOMPARE(sent.size(), 3);
        QCOMPARE(sent[0], open);
        QCOMPARE(sent[1], QByteArray("8") + addressBytes + bytes);
        QCOMPARE(sent[2], QByteArray("9") + open.mid(1));
    }

    void dateTimeOnTheWire()
    {
        Fixture f;
        CuCommands cu(f.link);
        f.link.setCurrentCu(1);
        f.port->onWrite = [](ScriptedPort &p, const QByteArray &) { p.deliver(ScriptedPort::answer(1, hx("06")), 1); };
        QVERIFY(cu.Set_Bcd_Date_Time(2026, 1, 6, 8, 14, 5));
        QCOMPARE(FrameCodec::hex(f.port->writes.value(0)), FrameCodec::hex(FrameCodec::encode(1, 0x81, hx("50 26 01 06 08 14 05 00"), true)));
    }

    // The modem's numeric results, answered to the dial command.
    void modemDial_data()
    {
        QTest::addColumn<QList<QByteArray>>("results");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << QList<QByteArray>{"1\r"} << true << "CONNECT";
        QTest::newRow("10") << QList<QByteArray>{"10\r"} << true << "CONNECT MODE (10)";
        QTest::newRow("7") << QList<QByteArray>{"7\r"} << false << "BUSY";
        QTest::newRow("11 then 1") << QList<QByteArray>{"11\r", "1\r"} << true << "CONNECT";
        QTest::newRow("+F ignored, then silence") << QList<QByteArray>{"+FCERROR\r"} << false << "COMMUNICATION ERROR";
        QTest::newRow("silence") << QList<QByteArray>{} << false << "COMMUNICATION ERROR";
    }
    void modemDial()
    {
        QFETCH(QList<QByteArray>, results);
        QFETCH(bool, connected);
        QFETCH(QString, text);
        Fixture f;
        f.link.settings().modemSilenceMs = 700;
        Modem modem(f.link);
        modem.setPauseScale(0.1);
        modem.setSettleMs(30);
        f.link.setRawMode(true);
        f.port->onWrite = [&](ScriptedPort &p, const QByteArray &bytes) {
            if (bytes == "\r" && !results.isEmpty()) {
                int at = 10;
                for (const QByteArray &r : std::as_const(results)) {
                    p.deliver(r, at);
                    at += 150;
                }
            }
        };
        QString resultText;
        QCOMPARE(modem.Modem_Dial(QStringLiteral("5551234"), false, &resultText), connected);
        QCOMPARE(resultText, text);
        QVERIFY(!f.link.rawMode());
        if (!connected) {
            QCOMPARE(int(f.link.modemResult()), 255);
            QVERIFY(!f.port->dtr()); // hung up
        } else {
            QVERIFY(f.link.modemLinkUp());
            // Over the modem link frames end with one ETX.
            f.port->writes.clear();
            f.link.Exchange(hx("4A"), 0, 5);
            QVERIFY(f.port->writes.value(0).endsWith(hx("CE 10 03")));
            QVERIFY(!f.port->writes.value(0).endsWith(hx("10 03 03")));
        }
        QVERIFY(f.link.modemLog().value(0).startsWith(QStringLiteral("Send   A T   V 0 $0D")));
    }
};

QTEST_GUILESS_MAIN(TestLinkExchange)
#include "tst_link_exchange.moc"
