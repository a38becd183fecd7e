#include "link/CuCommands.h"
#include "link/CuTest.h"
#include "link/Link.h"
#include "platform/SimulatedPort.h"
#include "sim/SimBus.h"
#include "sim/SimCentralUnit.h"

#include <QTemporaryDir>
#include <QTest>

// The link against the in-process simulated bus, end to end.
class TestLinkSim : public QObject {
    Q_OBJECT
private slots:
    void detectLoginWriteRead()
    {
        SimBus bus;
        bus.addUnit(3);
        bus.addUnit(16);
        Link link;
        link.settings().Vel_Trama = 200;
        link.settings().cuTestAttemptMs = 100;
        link.settings().Sys_Port = QStringLiteral("sim");
        link.setPortFactory([&bus](const QString &) { return std::make_unique<SimulatedPort>(&bus); });
        QTemporaryDir dir;
        QVERIFY(link.trace().setFile(dir.filePath("trace.txt")));
        link.trace().setEnabled(true);
        CuCommands cu(link);

        CuTest test(link, cu);
        QVERIFY(test.open());
        const QList<CuTest::Result> results = test.testCus({3, 4, 16});
        test.close();
        QCOMPARE(results.size(), 3);
        QVERIFY(results[0].answered && results[0].code == 0x06);
        QVERIFY(!results[1].answered);
        QVERIFY(results[2].answered); // CU 16: address bytes as they are on both sides
        QVERIFY(cu.detected(3) && !cu.detected(4) && cu.detected(16));
        QCOMPARE(int(link.framesSent()), 1 + 3 + 1);
        QCOMPARE(int(link.framesReceived()), 2);

        // The programming connection, a user record written and read back, logout.
        link.setCurrentCu(3);
        cu.setAskCode(true);
        int asked = 0;
        cu.setCodeDialog([&](int n) -> std::optional<QString> {
            ++asked;
            return n == 3 ? std::optional<QString>(QStringLiteral("24680")) : std::nullopt;
        });
        QVERIFY(cu.Cu_Connect(QStringLiteral("Tower"), QStringLiteral("|03"), {}));
        QCOMPARE(asked, 1);
        QCOMPARE(cu.loginLevel(), 'E');
        QVERIFY(!cu.askCode());
        QCOMPARE(bus.unit(3)->isolation(), quint8(1));
        QVERIFY(cu.userHeader().valid);
        QByteArray record(32, 0);
        record[0] = 0x12;
        record.replace(1, 5, "ALICE");
        QVERIFY(cu.Write_User_Record(600, record));
        QByteArray back;
        QVERIFY(cu.Mem_Read(1, 600 * 32, 32, &back));
        QCOMPARE(back, record);
        QVERIFY(cu.Set_Bcd_Date_Time(2026, 1, 6, 8, 14, 5));
        QCOMPARE(bus.unit(3)->dateTime(), QDateTime(QDate(2026, 6, 8), QTime(14, 5)));
        cu.Cu_Logout();
        QTest::qWait(50);
        QCOMPARE(bus.unit(3)->isolation(), quint8(0));
        QVERIFY(!link.systemPort());

        QFile trace(dir.filePath("trace.txt"));
        QVERIFY(trace.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(trace.readAll());
        QVERIFY(text.contains(QStringLiteral("SENT dst=03 src=81 code=01 bytes=10 02 03 81 01 83 10 03")));
        QVERIFY(text.contains(QStringLiteral("RECV dst=81 src=03 code=3C")));
    }

    void refusedLoginAndUndetected()
    {
        SimBus bus;
        bus.addUnit(5);
        Link link;
        link.settings().Vel_Trama = 100;
        link.settings().Sys_Port = QStringLiteral("sim");
        link.setPortFactory([&bus](const QString &) { return std::make_unique<SimulatedPort>(&bus); });
        CuCommands cu(link);
        link.setCurrentCu(5);
        cu.setAskCode(false);
        cu.setSavedProgrammingCode("00000");
        QVERIFY(!cu.Cu_Connect(QStringLiteral("Tower"), QStringLiteral("05 North"), {5}));
        QCOMPARE(cu.lastFailure().kind, CuFailure::Kind::NotDetected);
        QCOMPARE(cu.lastFailure().reasonLines().value(1), QStringLiteral("the application did not detect it."));

        cu.setDetected(5, true);
        QVERIFY(!cu.Cu_Connect(QStringLiteral("Tower"), QStringLiteral("05 North"), {5}));
        QCOMPARE(cu.lastFailure().kind, CuFailure::Kind::LoginRefused);
        QCOMPARE(cu.loginLevel(), 'X');
        QVERIFY(cu.stopFlag());
    }
};

QTEST_GUILESS_MAIN(TestLinkSim)
#include "tst_link_sim.moc"
