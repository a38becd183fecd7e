// veltrona-cli installation, block and component commands end to end: the
// files they leave in the work folder.
#include "store/engine/Table.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

class TestStoreCli : public QObject {
    Q_OBJECT

    TestFolders m_folders;

    struct Run {
        int code;
        QString out;
        QString err;
    };

    Run cli(const QStringList &args)
    {
        QProcess p;
        p.start(TestPaths::cliExecutable(),
                QStringList{QStringLiteral("--config-dir"), m_folders.configDir(), QStringLiteral("--system-dir"),
                            m_folders.systemDir()}
                    + args);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    QString w(const QString &name) const { return m_folders.workDir() + name; }

    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QStringList filesStartingWith(const QString &stem) const
    {
        return QDir(m_folders.workDir()).entryList({stem + QLatin1Char('*')}, QDir::Files, QDir::Name);
    }

private slots:
    void endToEnd()
    {
        QVERIFY2(m_folders.isValid(), qPrintable(m_folders.error()));
        const QString site = w(QStringLiteral("Site.axo"));

        // A new installation: empty installation file, root-only trees, port and connection rows.
        Run r = cli({"installation", "create", site, "--port", "COM3"});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(bytes(site), QByteArray());
        QCOMPARE(bytes(w("Site_TREE")), QByteArray("Site\r\n"));
        QCOMPARE(bytes(w("Site_TREE_VOC")), QByteArray("Site\r\n"));
        {
            Table port(m_folders.workDir(), QStringLiteral("Site_Port.db"));
            port.open();
            port.first();
            QCOMPARE(port.text(QStringLiteral("PUERTO")), QStringLiteral("COM3"));
            Table connec(m_folders.workDir(), QStringLiteral("Site_connec.db"));
            connec.open();
            connec.first();
            QCOMPARE(connec.text(QStringLiteral("TIPO_CONEXION")), QStringLiteral("LOCAL"));
        }
        const QByteArray settings = bytes(m_folders.configDir() + QStringLiteral("VELTRONA.INI"));
        QVERIFY2(settings.contains(("Ultima_inst=" + site).toUtf8()), settings.constData());
        QCOMPARE(cli({"installation", "create", site}).code, 1); // exists
        QCOMPARE(cli({"installation", "create", w("X.axo"), "--port", "COM17"}).code, 2);

        // Blocks of the three types.
        QCOMPARE(cli({"block", "add", site, "North", "--code", "1", "--type", "1"}).code, 0);
        QCOMPARE(cli({"block", "add", site, "South", "--code", "2", "--type", "2"}).code, 0);
        QCOMPARE(cli({"block", "add", site, "Aud", "--code", "3", "--type", "3"}).code, 0);
        r = cli({"block", "add", site, "NORTH", "--code", "4", "--type", "1"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("NORTH exists. Change block name.")), qPrintable(r.err));
        QCOMPARE(cli({"block", "add", site, "East", "--code", "64", "--type", "1"}).code, 2);
        QCOMPARE(cli({"block", "add", site, "East", "--code", "5", "--type", "3", "--components", "ACT"}).code, 2);
        r = cli({"block", "list", site});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QStringLiteral("01\tNorth\t1\tXXXXXXXX\n02\tSouth\t2\tX-XX----\n03\tAud\t3\tXX---XX-\n"));
        QCOMPARE(bytes(site).size(), 3 * 264);
        QCOMPARE(filesStartingWith(QStringLiteral("Site_South_")).size(), 41);

        // Delete one block: its record, its node and its tables go.
        QCOMPARE(cli({"block", "delete", site, "South"}).code, 0);
        QCOMPARE(bytes(site).size(), 2 * 264);
        QVERIFY(filesStartingWith(QStringLiteral("Site_South_")).isEmpty());
        QVERIFY(!bytes(w("Site_TREE_VOC")).contains("South"));
        QCOMPARE(cli({"block", "delete", site, "South"}).code, 1);

        // Load a block from another installation under a new name and code.
        const QString other = w(QStringLiteral("Other.axo"));
        QCOMPARE(cli({"installation", "create", other}).code, 0);
        QCOMPARE(cli({"block", "add", other, "Far", "--code", "9", "--type", "1", "--components", "ACC,IND"}).code, 0);
        QCOMPARE(cli({"block", "load", site, other, "Far", "Near", "7"}).code, 0);
        r = cli({"block", "list", site});
        QVERIFY(r.out.endsWith(QStringLiteral("07\tNear\t1\tX-----X-\n")));
        QCOMPARE(filesStartingWith(QStringLiteral("Site_Near_")).size(), 41);
        QVERIFY(bytes(w("Site_TREE_VOC")).endsWith("\tNear\r\n\t\tACC\r\n\t\tIND\r\n"));
        QVERIFY(bytes(w("Site_TREE")).endsWith("\tNear\r\n\t\tAccesses\r\n\t\tIndoor panels\r\n"));

        // Component removal: refused while the block has access points.
        {
            Table access(m_folders.workDir(), QStringLiteral("Site_North_Access.db"));
            access.open();
            access.append();
            access.setInteger(QStringLiteral("NUMERO"), 0);
            access.post();
        }
        r = cli({"component", "remove", site, "North", "ACC"});
        QCOMPARE(r.code, 1);
        QVERIFY(!r.err.isEmpty());
        QCOMPARE(cli({"component", "remove", site, "North", "GUD"}).code, 0);
        QCOMPARE(cli({"component", "remove", site, "North", "GUD"}).code, 1);
        QCOMPARE(cli({"component", "add", site, "Near", "LCT"}).code, 0);
        QCOMPARE(cli({"component", "add", site, "Near", "XYZ"}).code, 2);
        r = cli({"block", "list", site});
        QCOMPARE(r.out, QStringLiteral("01\tNorth\t1\tXXXXX-XX\n03\tAud\t3\tXX---XX-\n07\tNear\t1\tX--X--X-\n"));

        // Copy: every file of the installation under the new name, the trees with the new root.
        const QByteArray siteTree = bytes(w("Site_TREE_VOC"));
        QCOMPARE(cli({"installation", "create", w("SiteX.axo")}).code, 0); // another installation whose name begins with Site
        const QString copy = w(QStringLiteral("Copy.axo"));
        QCOMPARE(cli({"installation", "copy", site, copy}).code, 0);
        QCOMPARE(bytes(copy), bytes(site));
        QCOMPARE(bytes(w("Copy_TREE_VOC")), QByteArray("Copy") + siteTree.mid(4));
        QVERIFY(bytes(w("Copy_TREE")).startsWith("Copy\r\n\tNorth\r\n\t\tAccesses\r\n"));
        QCOMPARE(bytes(w("Copy_Events2.db")), bytes(w("Site_Events2.db")));
        QCOMPARE(bytes(w("Copy_North_Users.db")), bytes(w("Site_North_Users.db")));
        QCOMPARE(filesStartingWith(QStringLiteral("Copy")).size(), filesStartingWith(QStringLiteral("Site")).size()
                                                                      - filesStartingWith(QStringLiteral("SiteX")).size());
        QVERIFY(filesStartingWith(QStringLiteral("CopyX")).isEmpty());
        QCOMPARE(cli({"installation", "copy", site, copy}).code, 1); // target exists
        r = cli({"block", "list", copy});
        QCOMPARE(r.out, QStringLiteral("01\tNorth\t1\tXXXXX-XX\n03\tAud\t3\tXX---XX-\n07\tNear\t1\tX--X--X-\n"));
    }
};

QTEST_GUILESS_MAIN(TestStoreCli)
#include "tst_store_cli.moc"
