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
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

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

    // Bytes left on the line before the port is opened (the answer a CU gave
    // to a previous session's last frame) are no answer to this session's
    // first request.
    void staleBytesBeforeOpen_data()
    {
        QTest::addColumn<QByteArray>("stale");
        QTest::newRow("ACK of a previous logout") << QByteArray::fromHex("1002810506821003");
        QTest::newRow("previous login answer, level X") << QByteArray::fromHex("100281053c583233e11003");
    }
    void staleBytesBeforeOpen()
    {
        QFETCH(QByteArray, stale);
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString slavePath = QString::fromLocal8Bit(::ptsname(master));
        // Keep the far side's view of the line open, as the CU's end would.
        const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
        QVERIFY(slave >= 0);
        termios raw{};
        QVERIFY(::tcgetattr(slave, &raw) == 0);
        ::cfmakeraw(&raw);
        QVERIFY(::tcsetattr(slave, TCSANOW, &raw) == 0);
        QCOMPARE(::write(master, stale.constData(), size_t(stale.size())), ssize_t(stale.size()));

        Link link;
        link.settings().Vel_Trama = 400;
        QString error;
        QVERIFY2(link.openSystemPort(slavePath, &error), qPrintable(error));

        // The CU: answers the login with level E once the request is complete.
        QByteArray seen;
        QSocketNotifier notifier(master, QSocketNotifier::Read);
        QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
            char buffer[256];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                return;
            seen.append(buffer, int(n));
            if (seen.endsWith(QByteArray::fromHex("100303"))) {
                const QByteArray answer = QByteArray::fromHex("100281053c453233fc1003");
                QVERIFY(::write(master, answer.constData(), size_t(answer.size())) == answer.size());
            }
        });
        QCOMPARE(int(link.Exchange(QByteArray::fromHex("3b3132333435"), 1, 5)), 0x3C);
        QCOMPARE(link.answer().left(3), QByteArray("E23"));
        QCOMPARE(seen.toHex(' '), QByteArray::fromHex("100205813b31323334358e100303").toHex(' '));
        link.closeSystemPort();
        ::close(slave);
        ::close(master);
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
