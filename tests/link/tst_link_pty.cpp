// The device link end to end through a real pseudo-terminal served by
// veltrona-cu-sim: the program's own port layer, the command layer, and
// veltrona-cli reading its port from the settings file.

#include "frame/Settings.h"
#include "link/CuCommands.h"
#include "link/Link.h"
#include "platform/Paths.h"
#include "store/BlockRecord.h"
#include "store/InstallationFile.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TstLinkPty : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_sim;
    QString m_line;

    QString runCli(const QStringList &args, int *exitCode)
    {
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELTRONA_CONFIG_DIR"), m_dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("VELTRONA_SYSTEM_DIR"), m_dir.filePath(QStringLiteral("system")));
        cli.setProcessEnvironment(env);
        cli.start(TestPaths::cliExecutable(), args);
        if (!cli.waitForFinished(30000))
            return QStringLiteral("timeout");
        *exitCode = cli.exitCode();
        return QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_line = m_dir.filePath(QStringLiteral("line"));
        m_sim.start(TestPaths::cuSimExecutable(), {QStringLiteral("--pty"), m_line, QStringLiteral("--units"),
                                                   QStringLiteral("0,5"), QStringLiteral("--code"), QStringLiteral("777")});
        QVERIFY2(m_sim.waitForStarted(), qPrintable(m_sim.errorString()));
        QVERIFY(m_sim.waitForReadyRead(5000));
        QVERIFY(QFile::symLinkTarget(m_line).startsWith(QStringLiteral("/dev/")));
    }

    void cleanupTestCase()
    {
        if (m_sim.state() != QProcess::NotRunning) {
            ::kill(pid_t(m_sim.processId()), SIGTERM);
            if (!m_sim.waitForFinished(3000))
                m_sim.kill();
        }
    }

    // Login, a user record written through a page transaction, the record
    // read back, a silent CU's three attempts, logout.
    void loginWriteReadBack()
    {
        Link link;
        link.settings().Vel_Trama = 400;
        link.settings().isolationSleepMs = 20;
        QString error;
        QVERIFY2(link.openSystemPort(m_line, &error), qPrintable(error));
        CuCommands commands(link);
        link.setCurrentCu(5);
        commands.cu(5).selected = true;
        commands.setDetected(5, true);
        QVERIFY(commands.Cu_Login(QStringLiteral("777")));
        QCOMPARE(commands.loginLevel(), 'E');

        QByteArray record(32, '\0');
        for (int i = 0; i < 32; ++i)
            record[i] = char(0x30 + i);
        QVERIFY(commands.Write_User_Record(513, record));
        QByteArray back;
        QVERIFY(commands.Mem_Read(1, 513 * 32, 32, &back));
        QCOMPARE(back.toHex(' '), record.toHex(' '));

        const quint64 sent = link.framesSent();
        const quint64 received = link.framesReceived();
        QCOMPARE(int(link.Exchange(QByteArray(1, char(0x1E)), 1, 9)), 0);
        QCOMPARE(link.framesSent() - sent, quint64(3));
        QCOMPARE(link.framesReceived(), received);

        commands.Cu_Logout();
        QVERIFY(!link.systemPort() || !link.systemPort()->isOpen());
    }

    // veltrona-cli: the port comes from the settings file ([Ports_Path]),
    // the CUs from the installation's block records.
    void cliDetectsInstallation()
    {
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("config"))));
        Settings s;
        s.sysPort = QStringLiteral("COM3");
        s.portsPath[2] = m_line;
        QString error;
        QVERIFY2(s.save(m_dir.filePath(QStringLiteral("config/VELTRONA.INI")), &error), qPrintable(error));

        const QString work = m_dir.filePath(QStringLiteral("work/"));
        QVERIFY(QDir().mkpath(work));
        InstallationFile axo(work, QStringLiteral("Tower"));
        axo.create();
        axo.append({BlockRecord::newBlock(QStringLiteral("North"), 5, work, QStringLiteral("T")),
                    BlockRecord::newBlock(QStringLiteral("South"), 0, work, QStringLiteral("T")),
                    BlockRecord::newBlock(QStringLiteral("East"), 9, work, QStringLiteral("T"))});

        int rc = -1;
        const QString out = runCli({QStringLiteral("cu"), QStringLiteral("detect"), QStringLiteral("--installation"),
                                    axo.path()},
                                   &rc);
        QCOMPARE(rc, 0);
        QCOMPARE(out.trimmed().split(QLatin1Char('\n')),
                 (QStringList{"05 North answered 06", "00 South answered 06", "09 East no answer"}));

        const QString missing = runCli({QStringLiteral("cu"), QStringLiteral("detect"), QStringLiteral("--installation"),
                                        work + QStringLiteral("Nowhere.axo")},
                                       &rc);
        QCOMPARE(rc, 1);
        QVERIFY2(!missing.isEmpty(), qPrintable(missing));
    }
};

QTEST_GUILESS_MAIN(TstLinkPty)
#include "tst_link_pty.moc"
