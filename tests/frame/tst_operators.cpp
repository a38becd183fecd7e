#include "frame/Operators.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A record laid out by hand: name and password fields exactly as given.
QByteArray record(const QByteArray &name16, const QByteArray &password16, char level)
{
    return name16 + password16 + QByteArray(1, level);
}

struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

CliRun runCli(const TestFolders &folders, const QStringList &args)
{
    QProcess cli;
    cli.start(TestPaths::cliExecutable(), QStringList{"--system-dir", folders.systemDir()} + args);
    cli.waitForFinished(30000);
    return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()), QString::fromUtf8(cli.readAllStandardError())};
}

} // namespace

class TestOperators : public QObject {
    Q_OBJECT
private slots:
    void checkOperator_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("level"); // -1: not found
        QTest::newRow("padded record") << "admin" << "secret" << 0;
        QTest::newRow("upper-case record matches") << "boss" << "topsecret" << 1;
        QTest::newRow("typed upper case") << "BOSS" << "TopSecret" << 1;
        QTest::newRow("16-character name, unpadded field") << "abcdefghijklmnop" << "pw" << 2;
        QTest::newRow("16-character password") << "long" << "0123456789abcdef" << 1;
        QTest::newRow("empty password") << "guest" << "" << 2;
        QTest::newRow("first match gives the level") << "twice" << "x" << 0;
        QTest::newRow("wrong password") << "admin" << "secrets" << -1;
        QTest::newRow("prefix of a name") << "adm" << "secret" << -1;
        QTest::newRow("name longer than 16") << "abcdefghijklmnopq" << "pw" << -1;
        QTest::newRow("password padding typed") << "admin" << "secret^" << 0;
        QTest::newRow("password of another operator") << "admin" << "topsecret" << -1;
    }
    void checkOperator()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(int, level);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Oprpw.gti"));
        QVERIFY(writeFile(path, record("admin^^^^^^^^^^^", "secret^^^^^^^^^^", 0)
                                    + record("BOSS^^^^^^^^^^^^", "TopSecret^^^^^^^", 1)
                                    + record("abcdefghijklmnop", "pw^^^^^^^^^^^^^^", 2)
                                    + record("long^^^^^^^^^^^^", "0123456789ABCDEF", 1)
                                    + record("guest^^^^^^^^^^^", "^^^^^^^^^^^^^^^^", 2)
                                    + record("twice^^^^^^^^^^^", "x^^^^^^^^^^^^^^^", 0)
                                    + record("twice^^^^^^^^^^^", "x^^^^^^^^^^^^^^^", 2)));
        int found = -1;
        const bool ok = Operators::checkOperator(name, password, &found, path);
        QCOMPARE(ok ? found : -1, level);
    }

    void unreadableFileFindsNobody_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "does not exist";
        QTest::newRow("one byte too many") << record("admin^^^^^^^^^^^", "secret^^^^^^^^^^", 0) + "x" << "multiple of 33";
    }
    void unreadableFileFindsNobody()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Oprpw.gti"));
        if (!bytes.isNull())
            QVERIFY(writeFile(path, bytes));
        QString error;
        int level = -1;
        QVERIFY(!Operators::checkOperator(QStringLiteral("admin"), QStringLiteral("secret"), &level, path, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    void loginAllowsThreeTries_data()
    {
        QTest::addColumn<QStringList>("passwords"); // tried in order with the name "admin"
        QTest::addColumn<QString>("outcomes");      // one letter per try: L logged in, T try again, R refused
        QTest::newRow("right at once") << QStringList{"secret"} << "L";
        QTest::newRow("two wrong, then right") << QStringList{"a", "b", "secret"} << "TTL";
        QTest::newRow("third wrong ends") << QStringList{"a", "b", "c"} << "TTR";
        QTest::newRow("nothing after the end") << QStringList{"a", "b", "c", "secret"} << "TTRR";
    }
    void loginAllowsThreeTries()
    {
        QFETCH(QStringList, passwords);
        QFETCH(QString, outcomes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Oprpw.gti"));
        QVERIFY(writeFile(path, record("admin^^^^^^^^^^^", "secret^^^^^^^^^^", 1)));
        LoginAttempts login(path);
        // An empty name is not a try.
        QCOMPARE(login.submit(QString(), QStringLiteral("x")), LoginAttempts::Result::Ignored);
        QString got;
        for (const QString &password : passwords) {
            switch (login.submit(QStringLiteral("admin"), password)) {
            case LoginAttempts::Result::LoggedIn: got += 'L'; break;
            case LoginAttempts::Result::TryAgain: got += 'T'; break;
            case LoginAttempts::Result::Refused: got += 'R'; break;
            case LoginAttempts::Result::Ignored: got += 'I'; break;
            }
        }
        QCOMPARE(got, outcomes);
        if (outcomes.endsWith('L'))
            QCOMPARE(login.level(), 1);
    }

    void cliAddWritesRecordsAndListHidesPasswords()
    {
        TestFolders folders;
        QVERIFY2(folders.isValid(), qPrintable(folders.error()));
        const QString path = folders.systemDir() + QStringLiteral("Oprpw.gti");
        QFile::remove(path);

        QCOMPARE(runCli(folders, {"operator", "add", "Admin", "S3cret", "0"}).exitCode, 0);
        QCOMPARE(runCli(folders, {"operator", "add", "abcdefghijklmnop", "caf\u00e9", "2"}).exitCode, 0);
        const QByteArray bytes = readFile(path);
        QCOMPARE(bytes.size(), 66);
        QCOMPARE(bytes.left(33), QByteArray("Admin^^^^^^^^^^^S3cret^^^^^^^^^^\x00", 33));
        QCOMPARE(bytes.mid(33), QByteArray("abcdefghijklmnopcaf\xe9^^^^^^^^^^^^\x02", 33));

        int level = -1;
        QVERIFY(Operators::checkOperator(QStringLiteral("admin"), QStringLiteral("s3cret"), &level, path));
        QCOMPARE(level, 0);
        QVERIFY(Operators::checkOperator(QStringLiteral("abcdefghijklmnop"), QStringLiteral("CAF\u00c9"), &level, path));
        QCOMPARE(level, 2);

        const CliRun list = runCli(folders, {"operator", "list"});
        QCOMPARE(list.exitCode, 0);
        QCOMPARE(list.out, QStringLiteral("Admin\t0\nabcdefghijklmnop\t2\n"));
    }

    void cliAddRefusesBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("level 3") << QStringList{"x", "y", "3"} << 2;
        QTest::newRow("level not a number") << QStringList{"x", "y", "one"} << 2;
        QTest::newRow("name too long") << QStringList{"abcdefghijklmnopq", "y", "0"} << 2;
        QTest::newRow("padding in password") << QStringList{"x", "a^b", "0"} << 2;
        QTest::newRow("empty name") << QStringList{"", "y", "0"} << 2;
        QTest::newRow("missing level") << QStringList{"x", "y"} << 2;
        QTest::newRow("no single byte") << QStringList{"\u4e2d", "y", "0"} << 2;
        QTest::newRow("existing name") << QStringList{"ADMIN", "other", "1"} << 1;
    }
    void cliAddRefusesBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        TestFolders folders;
        const QString path = folders.systemDir() + QStringLiteral("Oprpw.gti");
        const QByteArray before = record("admin^^^^^^^^^^^", "secret^^^^^^^^^^", 0);
        QVERIFY(writeFile(path, before));
        const CliRun run = runCli(folders, QStringList{"operator", "add"} + args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(readFile(path), before);
    }

    void damagedFileIsLeftAlone()
    {
        TestFolders folders;
        const QString path = folders.systemDir() + QStringLiteral("Oprpw.gti");
        const QByteArray damaged = record("admin^^^^^^^^^^^", "secret^^^^^^^^^^", 0).left(30);
        QVERIFY(writeFile(path, damaged));
        const CliRun add = runCli(folders, {"operator", "add", "new", "pw", "0"});
        QCOMPARE(add.exitCode, 1);
        QVERIFY(add.err.contains(QStringLiteral("multiple of 33")));
        QCOMPARE(readFile(path), damaged);
        QCOMPARE(runCli(folders, {"operator", "list"}).exitCode, 1);
    }
};

QTEST_GUILESS_MAIN(TestOperators)
#include "tst_operators.moc"
