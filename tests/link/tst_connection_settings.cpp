// Port entries of the settings, the installation's port and connection
// tables, and the settings the link takes.

#include "frame/ProgramState.h"
#include "frame/Settings.h"
#include "link/InstallationConnection.h"
#include "link/LinkConfig.h"
#include "link/PortEntries.h"
#include "platform/Paths.h"
#include "store/InstallationStore.h"
#include "store/engine/Table.h"
#include "support/TestPaths.h"

#include <QTest>

class TstConnectionSettings : public QObject {
    Q_OBJECT

private slots:
    void portFromChoice_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("port");
        QTest::newRow("COM3 with description") << "COM3 Simulated bus" << "COM3";
        QTest::newRow("COM12 with description") << "COM12 Modem line" << "COM12";
        QTest::newRow("COM1 alone") << "COM1" << "COM1";
        QTest::newRow("COM16 alone") << "COM16" << "COM16";
        QTest::newRow("lower case") << "com7 x" << "COM7";
        QTest::newRow("no port number 17") << "COM17 x" << "";
        QTest::newRow("not a port") << "LPT1 printer" << "";
        QTest::newRow("empty") << "" << "";
    }
    void portFromChoice()
    {
        QFETCH(QString, choice);
        QFETCH(QString, port);
        QCOMPARE(PortEntries::portFromChoice(choice), port);
    }

    void listingIncludesTheUsedPorts()
    {
        Settings s;
        s.ports.fill(QString());
        s.ports[1] = QStringLiteral("Include");
        s.portsDesc[1] = QStringLiteral("USB adapter");
        s.sysPort = QStringLiteral("COM3");  // not marked
        s.proxPort = QStringLiteral("COM12"); // not marked
        const QList<PortEntries::Entry> list = PortEntries::list(s);
        QStringList names;
        for (const auto &e : list)
            names << e.name;
        QCOMPARE(names, (QStringList{"COM2", "COM3", "COM12"}));
        QCOMPARE(s.ports[2], QStringLiteral("Include"));
        QCOMPARE(s.ports[11], QStringLiteral("Include"));
        QVERIFY(list[1].system && !list[1].proximity);
        QVERIFY(list[2].proximity && !list[2].system);
        QCOMPARE(list[0].description, QStringLiteral("USB adapter"));
    }

    void eraseRefusesUsedPorts_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("result");
        QTest::newRow("system port") << 3 << int(PortEntries::EraseResult::SystemPort);
        QTest::newRow("proximity port") << 1 << int(PortEntries::EraseResult::ProximityPort);
        QTest::newRow("other port") << 2 << int(PortEntries::EraseResult::Erased);
        QTest::newRow("outside 1..16") << 17 << int(PortEntries::EraseResult::NoSuchPort);
    }
    void eraseRefusesUsedPorts()
    {
        QFETCH(int, number);
        QFETCH(int, result);
        Settings s;
        s.sysPort = QStringLiteral("COM3");
        s.proxPort = QStringLiteral("COM1");
        for (int n = 1; n <= 3; ++n)
            QVERIFY(PortEntries::add(s, n, QStringLiteral("port %1 with a description longer than thirty").arg(n)));
        QCOMPARE(s.portsDesc[0].size(), PortEntries::kDescriptionLength);
        QCOMPARE(int(PortEntries::erase(s, number)), result);
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(s.ports[size_t(n - 1)].isEmpty(), n == number && result == int(PortEntries::EraseResult::Erased));
    }

    void openingTakesPortAndConnectionType_data()
    {
        QTest::addColumn<QString>("puerto");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("sysPort");
        QTest::addColumn<bool>("modem");
        QTest::newRow("local COM2") << "COM2" << "LOCAL" << "COM2" << false;
        QTest::newRow("modem lower case") << "COM12" << "modem" << "COM12" << true;
        QTest::newRow("modem upper case") << "com4" << "MODEM" << "COM4" << true;
        QTest::newRow("empty port kept") << "" << "LOCAL" << "COM5" << false;
        QTest::newRow("garbage port kept") << "LPT1" << "anything" << "COM5" << false;
    }
    void openingTakesPortAndConnectionType()
    {
        QFETCH(QString, puerto);
        QFETCH(QString, type);
        QFETCH(QString, sysPort);
        QFETCH(bool, modem);
        TestFolders folders;
        QVERIFY2(folders.isValid(), qPrintable(folders.error()));
        const QString work = folders.workDir();
        QVERIFY(InstallationStore::createInstallation(work, QStringLiteral("Tower"), InstallationStore::Connection::Local,
                                                      QString(), QStringLiteral("COM1"))
                    .ok);
        InstallationConnection::writePort(work, QStringLiteral("Tower"), puerto);
        {
            Table t(work, QStringLiteral("Tower_connec.db"));
            t.open();
            t.first();
            t.edit();
            t.setText(QStringLiteral("TIPO_CONEXION"), type);
            t.setText(QStringLiteral("TELEFONO"), QStringLiteral("555 0101"));
            t.post();
        }
        ProgramState state;
        state.settings.sysPort = QStringLiteral("COM5");
        state.modemInstallation = !modem;
        const auto c = InstallationConnection::applyOnOpen(state, work, QStringLiteral("Tower"));
        QCOMPARE(state.settings.sysPort, sysPort);
        QCOMPARE(state.modemInstallation, modem);
        QCOMPARE(c.phone, QStringLiteral("555 0101"));

        InstallationConnection::writeConnection(work, QStringLiteral("Tower"), !modem, QStringLiteral("777"));
        const auto back = InstallationConnection::readConnection(work, QStringLiteral("Tower"));
        QCOMPARE(back.type, modem ? QStringLiteral("LOCAL") : QStringLiteral("MODEM"));
        QCOMPARE(back.phone, QStringLiteral("777"));
        Table t(work, QStringLiteral("Tower_connec.db"));
        t.open();
        QCOMPARE(t.recordCount(), 1);
    }

    void linkSettingsFromSettings()
    {
        Settings s;
        s.velTrama = 1234;
        s.offByModem = 2000;
        s.offByInsertUser = 3000;
        s.offByUpdateUser = 4000;
        s.isolateBrx = 2;
        s.parity = QStringLiteral("1");
        s.atBaudRate = QStringLiteral("AT &N3");
        s.sysPort = QStringLiteral("COM3");
        s.proxPort = QStringLiteral("COM12");
        s.portsPath[2] = QStringLiteral("/dev/ttyUSB0");
        s.portsPath[11] = QStringLiteral("sim");
        LinkSettings l;
        l.byteGapMs = 77; // a fixed timing stays as it was
        LinkConfig::apply(s, l);
        QCOMPARE(l.Vel_Trama, 1234);
        QCOMPARE(l.Off_By_MODEM, 2000);
        QCOMPARE(l.Off_By_Insert_User, 3000);
        QCOMPARE(l.Off_By_update_User, 4000);
        QCOMPARE(l.Isolate_BRX, 2);
        QVERIFY(l.parityEven());
        QCOMPARE(l.AT_BaudRate, QStringLiteral("AT &N3"));
        QCOMPARE(l.devicePath(l.Sys_Port), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(l.devicePath(l.Prox_Port), QStringLiteral("sim"));
        QCOMPARE(l.devicePath(QStringLiteral("COM2")), QStringLiteral("/dev/ttyS1"));
        QCOMPARE(l.byteGapMs, 77);
    }
};

QTEST_GUILESS_MAIN(TstConnectionSettings)
#include "tst_connection_settings.moc"
