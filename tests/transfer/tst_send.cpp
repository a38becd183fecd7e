// Sends to the in-process simulated central unit, then reads its memory back
// and compares it with what the encoders make of the image tables.
#include "frame/Lang.h"
#include "link/CuCommands.h"
#include "link/Link.h"
#include "platform/Dialogs.h"
#include "platform/SimulatedPort.h"
#include "sim/SimBus.h"
#include "sim/SimCentralUnit.h"
#include "support/TestPaths.h"
#include "support/TransferFixture.h"
#include "transfer/CuBracket.h"
#include "transfer/MemoryMap.h"
#include "transfer/Receive.h"
#include "transfer/RecordEncoders.h"
#include "transfer/Send.h"
#include "transfer/UserRecord.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace TransferFixture;

class TestSend : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolders> m_folders;
    QString m_work;
    std::unique_ptr<SimBus> m_bus;
    SimCentralUnit *m_unit = nullptr;
    std::unique_ptr<Link> m_link;
    std::unique_ptr<CuCommands> m_commands;
    NonInteractiveDialogs m_dialogs{false};

    QList<ImageRow> rows(const QString &suffix, const QString &index = QString())
    {
        Table t(m_work, file(suffix));
        t.open();
        if (!index.isEmpty())
            t.setIndexName(index);
        QList<ImageRow> list;
        for (t.first(); !t.eof(); t.next()) {
            QVariantMap m;
            for (const QString &f : t.fieldNames())
                m.insert(f.toUpper(), t.value(f));
            list << ImageRow(m);
        }
        return list;
    }

    // Every configuration write the encoders make of the image tables now.
    QList<QPair<QString, MemoryMap::MemoryWrite>> expectedConfiguration()
    {
        QList<QPair<QString, MemoryMap::MemoryWrite>> all;
        auto add = [&](const QString &what, RecordKind kind, const QString &suffix) {
            for (const auto &w : RecordEncoders::configurationWrites(kind, rows(suffix)))
                all << qMakePair(what, w);
        };
        add("profiles", RecordKind::Profile, "_AXOPRO");
        add("areas", RecordKind::Area, "_AXOARE");
        add("timetables", RecordKind::Timetable, "_AXOTIM");
        add("licences", RecordKind::LiftLicence, "_AXOLIC");
        add("lift codes", RecordKind::LiftCode, "_AXOCOD");
        add("access points", RecordKind::AccessPoint, "_AXOACC");
        add("zones", RecordKind::Zone, "_AXOZON");
        add("phones", RecordKind::Phone, "_Phones");
        add("messages", RecordKind::Message, "_Msgs");
        add("sensors", RecordKind::Sensor, "_AXOSEN");
        add("relay groups", RecordKind::RelayGroup, "_AXOREL");
        add("scheduler", RecordKind::Scheduler, "_AXOSCH");
        add("holiday days", RecordKind::HolidayDays, "_AXOHL1");
        add("holiday periods", RecordKind::HolidayPeriods, "_AXOHL2");
        return all;
    }

    SendResult send(const QString &key, UserSort sort = UserSort::None)
    {
        Sender sender(*m_commands);
        sender.setSortChooser([sort] { return sort; });
        return sender.confirm(SendRequest{m_work, kInstallation, kBlock, kCu, Lang::word(key)});
    }

    void setTimetableStart(const QVariant &value)
    {
        Table t(m_work, file("_Timetables"));
        t.open();
        QVERIFY(t.locate({"NUMERO"}, {3}));
        t.edit();
        t.setValue("HORA_INI1", value);
        t.post();
    }

private slots:
    void initTestCase()
    {
        m_folders = std::make_unique<TestFolders>();
        QVERIFY2(m_folders->isValid(), qPrintable(m_folders->error()));
        m_work = m_folders->workDir();
        createBlock(m_work);
        fillBlock(m_work, 600);
        Dialogs::install(&m_dialogs);
    }
    void cleanupTestCase() { Dialogs::install(nullptr); }

    void init()
    {
        m_bus = std::make_unique<SimBus>();
        m_unit = m_bus->addUnit(kCu);
        m_link = std::make_unique<Link>();
        SimBus *bus = m_bus.get();
        m_link->setPortFactory([bus](const QString &) { return std::make_unique<SimulatedPort>(bus); });
        LinkSettings &s = m_link->settings();
        s.Sys_Port = QStringLiteral("sim");
        s.Vel_Trama = 60;
        s.connectPauseMs = 1;
        s.isolationSleepMs = 1;
        m_commands = std::make_unique<CuCommands>(*m_link);
        m_commands->setDetected(kCu, true);
        m_commands->setAskCode(false);
        m_commands->setSavedProgrammingCode(SimCentralUnit::factoryCode(SimCentralUnit::ProgrammingCode));
        m_dialogs.setConfirmAnswer(false);
    }

    // CONF_USR: the users go first, every kind arrives as the encoders make
    // it, 600 users fill slots 1-511 through page 2 and 512-600 through page 3,
    // and each user's memory position is carried back to _Users.
    void fullSendWithUsers()
    {
        m_dialogs.setConfirmAnswer(true);
        const SendResult r = send("CONF_USR");
        QVERIFY2(r.ok(), qPrintable(r.failedCaptions().join(",") + " " + r.connectionMessage));
        QCOMPARE(r.kinds.first().key, QStringLiteral("USR"));
        QVERIFY(r.resetAsked);
        QVERIFY(r.resetSent);

        for (const auto &[what, w] : expectedConfiguration())
            QVERIFY2(m_unit->config(w.address, int(w.bytes.size())) == w.bytes,
                     qPrintable(QStringLiteral("%1 record %2 at %3").arg(what).arg(w.recordIndex).arg(w.address)));

        const QList<ImageRow> users = rows("_AXOUSR");
        QCOMPARE(users.size(), 600);
        for (int i = 0; i < users.size(); ++i)
            QVERIFY2(m_unit->slot(i + 1) == UserRecord::encode(users[i]), qPrintable(QString::number(i + 1)));
        QCOMPARE(m_unit->userCount(), 600);

        // Write order: every user write before the first write to page 1;
        // slots 1-511 on page 2, 512-600 on page 3.
        int lastUser = -1, firstConfig = -1;
        const auto log = m_unit->writeLog();
        for (int i = 0; i < log.size(); ++i) {
            const auto &w = log[i];
            if (w.command != '8')
                continue;
            if (w.page == 1 && firstConfig < 0)
                firstConfig = i;
            if ((w.page == 2 || w.page == 3) && w.slot >= 1 && w.slot <= 1020) {
                lastUser = i;
                QCOMPARE(w.page, w.slot <= 511 ? 2 : 3);
            }
        }
        QVERIFY(lastUser >= 0 && firstConfig > lastUser);

        // MEM_POS_RELATIVA: the slot less one, in _AXOUSR and in _Users.
        Table u(m_work, file("_Users"));
        u.open();
        int i = 0;
        for (u.first(); !u.eof(); u.next(), ++i)
            QCOMPARE(int(u.integer("MEM_POS_RELATIVA")), i);
        QCOMPARE(i, 600);
    }

    // The sort chooses the slots: by name, the last name written first
    // (the fixture's names run backwards).
    void userListSortedByName()
    {
        const SendResult r = send("USR", UserSort::Name);
        QVERIFY(r.ok());
        const QList<ImageRow> byName = rows("_AXOUSR", "I_NAME");
        QCOMPARE(UserRecord::decode(m_unit->slot(1))->name, byName.first().text("NAME"));
        QCOMPARE(byName.first().value("MEM_POS_RELATIVA").toInt(), 0);
    }

    // A kind that fails lets the following kinds go and is listed.
    void failingKindDoesNotStopTheOthers_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("failedKey");
        QTest::newRow("encoder refuses a timetable") << "encode" << "TIM";
        QTest::newRow("unit silent during the areas") << "silent" << "ARE";
    }
    void failingKindDoesNotStopTheOthers()
    {
        QFETCH(QString, fault);
        QFETCH(QString, failedKey);
        if (fault == "encode")
            setTimetableStart(QStringLiteral("2G30"));
        auto restore = qScopeGuard([&] {
            if (fault == "encode")
                setTimetableStart(QStringLiteral("0800"));
        });
        bool faulted = false;
        connect(m_unit, &SimCentralUnit::frameReceived, this, [&](const SimFrame &f) {
            // The first write into the areas: the unit goes silent for
            // every attempt of that write.
            if (fault == "silent" && !faulted && f.code() == '8' && f.data.size() > 3) {
                const int address = quint8(f.data[1]) << 8 | quint8(f.data[2]);
                if (address >= 4245 && address < 4885) {
                    faulted = true;
                    m_unit->setFault(SimCentralUnit::Fault::Silent, 3);
                }
            }
        });
        const QByteArray timetablesBefore = m_unit->config(1813, 9 * 32);
        const SendResult r = send("CONFIGUR");
        QVERIFY(r.connected);
        QCOMPARE(r.failedCaptions(), QStringList{Lang::word(failedKey)});
        QCOMPARE(r.kinds.size(), 12);
        for (const KindResult &k : r.kinds)
            if (k.key == failedKey)
                QVERIFY2(!k.message.isEmpty(), "a failed kind says why");
        if (fault == "encode") {
            const KindResult &tim = r.kinds[2];
            QVERIFY2(tim.message.contains("HOUR_A_START"), qPrintable(tim.message));
            // Nothing of the refused kind was written.
            QCOMPARE(m_unit->config(1813, 9 * 32), timetablesBefore);
        }
        // The kinds after the failed one arrived.
        const auto sch = RecordEncoders::configurationWrites(RecordKind::Scheduler, rows("_AXOSCH"));
        QCOMPARE(m_unit->config(sch.last().address, 25), sch.last().bytes);
        QVERIFY(!r.resetAsked || r.kinds.last().sent);
    }

    // Without a connection nothing is written, and the result says so.
    void noConnectionWritesNothing()
    {
        m_unit->setFault(SimCentralUnit::Fault::Silent);
        const SendResult r = send("TIM");
        QVERIFY(!r.connected);
        QVERIFY(!r.connectionMessage.isEmpty());
        QVERIFY(r.kinds.isEmpty());
        QVERIFY(m_unit->writeLog().isEmpty());
        QVERIFY(!m_link->systemPort() || !m_link->systemPort()->isOpen());
    }

    // A unit with 3 users and 2 holes: 3 rows at their slots; counters 3, 2, 5.
    void extractUsers()
    {
        auto user = [](const QString &name, const QString &code, const QString &device, int number) {
            return UserRecord::encode(ImageRow{{"NAME", name}, {"CODE", code}, {"SENSOR", device}, {"USER", QString::number(number)},
                                               {"LEVEL", "005"}, {"LIFT", "02"}, {"UNLOCK", true}});
        };
        QByteArray hole(32, '\0');
        m_unit->setSlot(1, user("ANA", "123456", "B012", 7));
        m_unit->setSlot(2, hole);
        m_unit->setSlot(3, user("BEN", "FFFFFF", QString(), 8));
        m_unit->setSlot(4, user("CARLA", "0A1B2C3D4E", "A005", 9));
        m_unit->setOccupiedSlots(5);

        CuBracket bracket(*m_commands);
        QVERIFY(bracket.open(kInstallation, kCu, {kCu}));
        const Receive::ExtractResult r = Receive::extractUsers(*m_commands, m_work, prefix());
        bracket.close();
        QVERIFY2(r.ok, qPrintable(r.message));
        QCOMPARE(r.users, 3);
        QCOMPARE(r.holes, 2);
        QCOMPARE(r.total, 5);

        Table t(m_work, file("_Users"));
        t.open();
        QCOMPARE(t.recordCount(), 3);
        QVERIFY(t.locate({"NOMBRE"}, {"ANA"}));
        QCOMPARE(t.integer("MEM_POS_RELATIVA"), 0);
        QCOMPARE(t.text("DISPOSITIVO"), QStringLiteral("012"));
        QCOMPARE(t.text("TIPO_DISPOSITIVO"), Lang::word("REL"));
        QCOMPARE(t.integer("PERFIL"), 5);
        QCOMPARE(t.integer("ASCENSOR"), 2);
        QCOMPARE(t.text("N_USUARIO"), QStringLiteral("00007"));
        QVERIFY(t.locate({"NOMBRE"}, {"BEN"}));
        QCOMPARE(t.integer("MEM_POS_RELATIVA"), 2);
        QVERIFY(t.isNull("CODIGO"));
        QVERIFY(t.isNull("TIPO_USR"));
        QVERIFY(t.locate({"NOMBRE"}, {"CARLA"}));
        QCOMPARE(t.integer("MEM_POS_RELATIVA"), 3);
        QCOMPARE(t.text("CODIGO"), QStringLiteral("0A1B2C3D4E"));
        QCOMPARE(t.text("TIPO_DISPOSITIVO"), Lang::word("SEN"));
    }

    // All 32 scheduler records are read; a start of 0x25 0x00 is no time; a
    // relay group with time 255 is not imported.
    void receiveConfiguration()
    {
        QByteArray plan = QByteArray("Night           ", 16) + QByteArray::fromHex("2500180002b01200") + char(0x3C);
        QCOMPARE(plan.size(), 25);
        m_unit->setConfig(5775 + 25 * 31, plan);
        QByteArray group = char(0x3C) + QByteArray("Garage          ", 16) + char(0xFF) + char(1);
        m_unit->setConfig(5585 + 19 * 2, group);
        group[17] = char(12);
        m_unit->setConfig(5585 + 19 * 3, group);

        CuBracket bracket(*m_commands);
        QVERIFY(bracket.open(kInstallation, kCu, {kCu}));
        const Receive::ConfigResult r = Receive::receiveConfiguration(*m_commands, m_work, prefix());
        bracket.close();
        QVERIFY2(r.ok, qPrintable(r.message));
        QCOMPARE(r.schedulerRead, 32);
        QCOMPARE(r.relaysRead, 10);

        Table s(m_work, file("_Scheduler"));
        s.open();
        QVERIFY(s.locate({"NUMERO"}, {31}));
        QVERIFY(s.isNull("START"));
        QCOMPARE(s.text("END"), QStringLiteral("1800"));
        QCOMPARE(s.text("DISPOSITIVO"), QStringLiteral("012"));
        QCOMPARE(s.text("TIPO_DISPOSITIVO"), Lang::word("REL"));
        QVERIFY(s.boolean("LU"));
        Table rel(m_work, file("_Rele"));
        rel.open();
        QVERIFY(!rel.locate({"GRUPO"}, {2}));
        QVERIFY(rel.locate({"GRUPO"}, {3}));
        QCOMPARE(rel.integer("TIEMPO"), 12);
        QCOMPARE(rel.text("ESTADO"), QStringLiteral("On"));
    }

    // veltrona-cli send over a real pseudo-terminal to veltrona-cu-sim.
    void cliSendOverPty()
    {
        QTemporaryDir dir;
        const QString linkPath = dir.filePath("line");
        QProcess sim;
        sim.start(TestPaths::cuSimExecutable(), {"--pty", linkPath, "--units", QString::number(kCu), "--code", "777"});
        QVERIFY(sim.waitForStarted());
        auto stop = qScopeGuard([&] {
            sim.kill();
            sim.waitForFinished(2000);
        });
        QVERIFY(sim.waitForReadyRead(5000));
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VELTRONA_CONFIG_DIR", m_folders->configDir());
        env.insert("VELTRONA_SYSTEM_DIR", m_folders->systemDir());
        cli.setProcessEnvironment(env);
        const QString axo = m_work + kInstallation + ".axo";
        cli.start(TestPaths::cliExecutable(), {"send", axo, kBlock, "--kind", "TIM", "--port", linkPath, "--code", "777"});
        QVERIFY(cli.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(cli.readAllStandardOutput());
        QVERIFY2(cli.exitCode() == 0, qPrintable(out + QString::fromLocal8Bit(cli.readAllStandardError())));
        QVERIFY2(out.contains("TIM sent"), qPrintable(out));
        QVERIFY2(out.contains("reset not sent"), qPrintable(out));

        // A wrong code: the login is refused, nothing is sent, exit 1.
        cli.start(TestPaths::cliExecutable(), {"send", axo, kBlock, "--kind", "TIM", "--port", linkPath, "--code", "111"});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 1);
        // Bad input: exit 2.
        cli.start(TestPaths::cliExecutable(), {"send", axo, kBlock, "--kind", "NOPE"});
        QVERIFY(cli.waitForFinished(20000));
        QCOMPARE(cli.exitCode(), 2);
    }
};

QTEST_MAIN(TestSend)
#include "tst_send.moc"
