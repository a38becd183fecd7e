#include "frame/Settings.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void firstRunGivesDefaultsAndWritesEveryKey()
    {
        TestFolders folders;
        QVERIFY2(folders.isValid(), qPrintable(folders.error()));
        const QString path = Settings::filePath();
        QCOMPARE(path, folders.configDir() + QStringLiteral("VELTRONA.INI"));
        QVERIFY(!QFile::exists(path));

        Settings s;
        QVERIFY(s.load(path));
        QVERIFY(s.warnings().isEmpty());
        QCOMPARE(s.senda, Paths::defaultWorkFolder());
        QVERIFY(s.senda.endsWith(QLatin1Char('/')));
        QVERIFY(!s.hasLastInstallation());
        QCOMPARE(s.sysPort, QStringLiteral("COM1"));
        QCOMPARE(s.idioma, QStringLiteral("ENGLISH"));
        QVERIFY(s.autoTestOn());
        QCOMPARE(s.velTrama, 1000);
        QCOMPARE(s.offByInsertUser, 2500);
        QCOMPARE(int(s.isolateBrx), 1);
        QCOMPARE(s.atBaudRate, QStringLiteral("AT &N6"));
        QVERIFY(!s.riSpecialEventSounded);
        QVERIFY(s.ports[0].isEmpty());
        QCOMPARE(s.devicePath(QStringLiteral("com3")), QStringLiteral("/dev/ttyS2"));
        QCOMPARE(s.mailSecurity, QStringLiteral("none"));

        QString error;
        QVERIFY2(s.save(path, &error), qPrintable(error));
        ProfileFile written(path);
        QVERIFY(written.problems().isEmpty());
        QCOMPARE(written.sections(), (QStringList{"General", "Ports", "Ports_Desc", "Ports_Path", "Mail"}));
        QCOMPARE(written.readString("General", "Version"), QStringLiteral("1.0.8"));
        QCOMPARE(written.readString("General", "RI_Special_Event_Sounded"), QStringLiteral("N"));
        QCOMPARE(written.readString("General", "Off_By_update_User"), QStringLiteral("1500"));
        QCOMPARE(written.keys("Ports").size(), 16);
        QCOMPARE(written.readString("Ports_Path", "COM16"), QStringLiteral("/dev/ttyS15"));
        QCOMPARE(written.keys("General").size(), 16);
    }

    void readsWhatTheFileSays_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sound Y") << QByteArray("[General]\nRI_Special_Event_Sounded=Y\n") << "sound" << "1";
        QTest::newRow("sound lower y is off") << QByteArray("[General]\nRI_Special_Event_Sounded=y\n") << "sound" << "0";
        QTest::newRow("sound Yes is off") << QByteArray("[General]\nRI_Special_Event_Sounded=Yes\n") << "sound" << "0";
        QTest::newRow("folder gets its slash") << QByteArray("[general]\nsenda=/srv/axo\n") << "senda" << "/srv/axo/";
        QTest::newRow("empty folder is the default") << QByteArray("[General]\nSenda=\n") << "senda" << Paths::defaultWorkFolder();
        QTest::newRow("port path") << QByteArray("[Ports_Path]\nCOM2=/dev/ttyUSB0\n") << "path2" << "/dev/ttyUSB0";
        QTest::newRow("simulated port") << QByteArray("[PORTS_PATH]\ncom2=sim\n") << "path2" << "sim";
        QTest::newRow("integer with blanks") << QByteArray("[General]\nVel_Trama = 2000 \n") << "trama" << "2000";
        QTest::newRow("security upper case") << QByteArray("[Mail]\nSecurity=STARTTLS\n") << "security" << "starttls";
    }
    void readsWhatTheFileSays()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        TestFolders folders;
        QVERIFY(writeFile(Settings::filePath(), file));
        Settings s;
        QVERIFY(s.load());
        QVERIFY2(s.warnings().isEmpty(), qPrintable(s.warnings().join('\n')));
        const QHash<QString, QString> got = {
            {"sound", QString::number(s.riSpecialEventSounded)},
            {"senda", s.senda},
            {"path2", s.devicePath(QStringLiteral("COM2"))},
            {"trama", QString::number(s.velTrama)},
            {"security", s.mailSecurity},
        };
        QCOMPARE(got.value(key), expected);
    }

    void badNumbersKeepDefaultsAndReset_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("word") << QByteArray("Vel_Trama=fast");
        QTest::newRow("decimal") << QByteArray("Off_By_MODEM=1.5");
        QTest::newRow("empty") << QByteArray("Off_By_Insert_User=");
        QTest::newRow("out of a byte") << QByteArray("Isolate_BRX=257");
    }
    void badNumbersKeepDefaultsAndReset()
    {
        QFETCH(QByteArray, line);
        TestFolders folders;
        QVERIFY(writeFile(Settings::filePath(),
                          "[General]\nSys_Port=COM5\nProx_Port=COM7\nIdioma=SPANISH\n" + line + "\nOff_By_update_User=900\n"));
        Settings s;
        QVERIFY(s.load());
        QCOMPARE(s.warnings().size(), 1);
        QVERIFY(s.warnings().first().contains(QString::fromLatin1(line.left(line.indexOf('=')))));
        QCOMPARE(s.velTrama, 1000);
        QCOMPARE(s.offByModem, 1000);
        QCOMPARE(s.offByInsertUser, 2500);
        QCOMPARE(int(s.isolateBrx), 1);
        // Later keys are still read; the ports fall back to COM1.
        QCOMPARE(s.offByUpdateUser, 900);
        QCOMPARE(s.idioma, QStringLiteral("SPANISH"));
        QCOMPARE(s.sysPort, QStringLiteral("COM1"));
        QCOMPARE(s.proxPort, QStringLiteral("COM1"));
    }

    void saveKeepsForeignSectionsAndRoundTrips()
    {
        TestFolders folders;
        QVERIFY(writeFile(Settings::filePath(), "; kept\n[Extra]\nmine=1\n[General]\nRI_Special_Event_Sounded=y\n"));
        Settings s;
        QVERIFY(s.load());
        s.riSpecialEventSounded = true;
        s.ports[3] = QStringLiteral("Include");
        s.portsDesc[3] = QStringLiteral("Door panel");
        s.portsPath[3] = QStringLiteral("sim");
        s.mailPassword = QStringLiteral("p%ss");
        QVERIFY(s.save());

        ProfileFile raw(Settings::filePath());
        QCOMPARE(raw.readString("Extra", "mine"), QStringLiteral("1"));
        QCOMPARE(raw.readString("General", "RI_Special_Event_Sounded"), QStringLiteral("Y"));
        Settings again;
        QVERIFY(again.load());
        QVERIFY(again.riSpecialEventSounded);
        QVERIFY(again.portIncluded(3));
        QVERIFY(!again.portIncluded(2));
        QCOMPARE(again.portsDesc[3], QStringLiteral("Door panel"));
        QCOMPARE(again.devicePath(QStringLiteral("COM4")), QStringLiteral("sim"));
        QCOMPARE(again.mailPassword, QStringLiteral("p%ss"));
    }

    void cliShowsEveryKeyWithoutThePassword()
    {
        TestFolders folders;
        QVERIFY(writeFile(Settings::filePath(), "[General]\nVel_Trama=x\n[Mail]\nPassword=hunter2\n"));
        QProcess cli;
        cli.start(TestPaths::cliExecutable(), {"--config-dir", folders.configDir(), "settings", "show"});
        QVERIFY(cli.waitForFinished(30000));
        const QString out = QString::fromUtf8(cli.readAllStandardOutput());
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY(out.contains(QStringLiteral("[General]\nSenda=")));
        QVERIFY(out.contains(QStringLiteral("Version=1.0.8\n")));
        QVERIFY(out.contains(QStringLiteral("[Ports_Path]\nCOM1=/dev/ttyS0\n")));
        QVERIFY(out.contains(QStringLiteral("Password=********\n")));
        QVERIFY(!out.contains(QStringLiteral("hunter2")));
        QVERIFY(QString::fromUtf8(cli.readAllStandardError()).contains(QStringLiteral("Vel_Trama")));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
