// The installation file, its block records, safe names and the tree files.
#include "store/AtomicFile.h"
#include "store/BlockRecord.h"
#include "store/InstallationFile.h"
#include "store/InstallationTree.h"
#include "store/SafeName.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestInstallationFile : public QObject {
    Q_OBJECT

private:
    static QByteArray readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeRaw(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QStringList folderEntries(const QString &dir)
    {
        return QDir(dir).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    }

private slots:
    void newBlockRecordLayout()
    {
        const BlockRecord r = BlockRecord::newBlock(QStringLiteral("North"), 7, QStringLiteral("/w/"),
                                                    QStringLiteral("Audio + D.Controller"));
        const QByteArray b = r.bytes();
        QCOMPARE(b.size(), 264);
        QByteArray name = QByteArray("North") + QByteArray(45, '@');
        QCOMPARE(b.mid(0, 50), name);
        QCOMPARE(b.mid(52, 4), QByteArray("\x07\x00\x00\x00", 4));
        QCOMPARE(b.mid(56, 100), QByteArray("/w/") + QByteArray(97, '@'));
        QCOMPARE(b.mid(156, 40), QByteArray("Audio + D.Controller") + QByteArray(20, '@'));
        QCOMPARE(b.mid(196, 32), QByteArray(32, '@')); // both display lines empty
        QCOMPARE(b.mid(228, 5), QByteArray("AXO@@"));  // three-letter read code padded to five
        QCOMPARE(b.mid(228, 20).count('@'), 2);        // the other three codes fill their five bytes
        QCOMPARE(b.mid(248, 4), QByteArray("\x06\x00\x00\x00", 4));
        QCOMPARE(b.mid(252, 10), QByteArray("?") + QByteArray(9, '@'));

        // A text ends at its first padding byte or at its width.
        QByteArray raw = b;
        raw.replace(0, 50, QByteArray(50, 'x'));
        raw.replace(196, 16, QByteArray("AB@CD") + QByteArray(11, '@'));
        const BlockRecord read = BlockRecord::fromBytes(raw);
        QCOMPARE(read.name(), QString(50, QLatin1Char('x')));
        QCOMPARE(read.text(BlockRecord::Display1), QStringLiteral("AB"));
        QCOMPARE(read.code(), 7);
        // The unused bytes are carried through unchanged.
        raw[50] = 'Q';
        raw[263] = 'Z';
        QCOMPARE(BlockRecord::fromBytes(raw).bytes(), raw);
    }

    void recordOperations()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const InstallationFile axo(folder, QStringLiteral("Site"));
        QCOMPARE(axo.countBlocks(), QStringLiteral("0")); // missing file
        axo.create();
        QCOMPARE(readAll(axo.path()).size(), 0);
        axo.append(BlockRecord::newBlock(QStringLiteral("North"), 1, folder, QStringLiteral("T1")));
        axo.append(BlockRecord::newBlock(QStringLiteral("South Wing Block"), 2, folder, QStringLiteral("T2")));
        QCOMPARE(axo.countBlocks(), QStringLiteral("2"));
        QCOMPARE(readAll(axo.path()).size(), 528);
        QVERIFY(axo.blockExists(QStringLiteral("NORTH")));      // without regard to case
        QVERIFY(!axo.blockCode(QStringLiteral("NORTH")));        // exact
        QCOMPARE(*axo.blockCode(QStringLiteral("North")), 1);
        QVERIFY(axo.findBlockRecord(QStringLiteral("South Wing Block"), 2));
        QVERIFY(!axo.findBlockRecord(QStringLiteral("South Wing Block"), 3));
        QCOMPARE(axo.removeBlock(QStringLiteral("north")), 0);  // exact name only
        QCOMPARE(axo.removeBlock(QStringLiteral("North")), 1);
        QCOMPARE(axo.readBlocks().first().name(), QStringLiteral("South Wing Block"));
        QCOMPARE(folderEntries(folder), QStringList{QStringLiteral("Site.axo")}); // no temporary file left
    }

    void saveReplacesEverySameRecord()
    {
        // Two records with the same first 50 bytes and code are both replaced;
        // one differing in its code is not.
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const InstallationFile axo(folder, QStringLiteral("Site"));
        axo.create();
        const BlockRecord a = BlockRecord::newBlock(QStringLiteral("A"), 4, folder, QStringLiteral("T"));
        BlockRecord twin = a;
        twin.setText(BlockRecord::Display1, QStringLiteral("other")); // same 50 bytes and code
        const BlockRecord c = BlockRecord::newBlock(QStringLiteral("A"), 5, folder, QStringLiteral("T"));
        axo.append({a, twin, c});
        BlockRecord rebuilt = a;
        rebuilt.setText(BlockRecord::Display2, QStringLiteral("Hello"));
        QCOMPARE(axo.saveBlockValues(a, rebuilt), 2);
        const QList<BlockRecord> after = axo.readBlocks();
        QCOMPARE(after.size(), 3);
        QCOMPARE(after[0], rebuilt);
        QCOMPARE(after[1], rebuilt);
        QCOMPARE(after[2], c);
    }

    void damagedFileRefusedUnchanged()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const InstallationFile axo(folder, QStringLiteral("Site"));
        const QByteArray damaged = BlockRecord::newBlock(QStringLiteral("A"), 1, folder, QStringLiteral("T")).bytes() + "xyz";
        writeRaw(axo.path(), damaged);
        QCOMPARE(axo.countBlocks(), QStringLiteral("0"));
        QVERIFY_THROWS_EXCEPTION(StoreError, axo.readBlocks());
        QVERIFY_THROWS_EXCEPTION(StoreError, axo.append(BlockRecord()));
        QVERIFY_THROWS_EXCEPTION(StoreError, axo.removeBlock(QStringLiteral("A")));
        QCOMPARE(readAll(axo.path()), damaged);
    }

    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<int>("stage");
        QTest::newRow("temporary file created") << int(AtomicFile::Stage::TempCreated);
        QTest::newRow("data written") << int(AtomicFile::Stage::DataWritten);
        QTest::newRow("before rename") << int(AtomicFile::Stage::BeforeRename);
    }
    void failedWriteKeepsOldFile()
    {
        QFETCH(int, stage);
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const InstallationFile axo(folder, QStringLiteral("Site"));
        axo.create();
        axo.append(BlockRecord::newBlock(QStringLiteral("A"), 1, folder, QStringLiteral("T")));
        const QByteArray before = readAll(axo.path());
        AtomicFile::setFaultHook([stage](AtomicFile::Stage s) {
            if (int(s) == stage)
                throw StoreError(QStringLiteral("disk full"));
        });
        QVERIFY_THROWS_EXCEPTION(StoreError, axo.append(BlockRecord::newBlock(QStringLiteral("B"), 2, folder, QStringLiteral("T"))));
        QVERIFY_THROWS_EXCEPTION(StoreError, axo.removeBlock(QStringLiteral("A")));
        AtomicFile::setFaultHook({});
        QCOMPARE(readAll(axo.path()), before);
        QCOMPARE(folderEntries(folder), QStringList{QStringLiteral("Site.axo")});
    }

    void unsafeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("block");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("plain block") << "North 1" << true << true;
        QTest::newRow("sixteen") << "ABCDEFGHIJKLMNOP" << true << true;
        QTest::newRow("seventeen") << "ABCDEFGHIJKLMNOPQ" << true << false;
        QTest::newRow("empty") << "" << true << false;
        QTest::newRow("parent path") << "../x" << true << false;
        QTest::newRow("backslash") << "a\\b" << true << false;
        QTest::newRow("quote") << "a\"b" << true << false;
        QTest::newRow("single quote") << "a'b" << true << false;
        QTest::newRow("padding byte") << "a@b" << true << false;
        QTest::newRow("tab") << "a\tb" << true << false;
        QTest::newRow("dot dot") << ".." << true << false;
        QTest::newRow("beyond single byte") << QString::fromUtf8("a\u20ACb") << true << false;
        QTest::newRow("accented") << QString::fromUtf8("Bloque \u00D1") << true << true;
        QTest::newRow("installation") << "Tower Site" << false << true;
        QTest::newRow("installation slash") << "a/b" << false << false;
        QTest::newRow("installation single quote") << "Site's" << false << false;
        QTest::newRow("installation 39") << QString(39, QLatin1Char('x')) << false << false;
    }
    void unsafeNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, block);
        QFETCH(bool, accepted);
        const QString problem = block ? SafeName::checkBlockName(name) : SafeName::checkInstallationName(name);
        QCOMPARE(problem.isEmpty(), accepted);
    }

    void treeFiles()
    {
        const Vocabulary words{{QStringLiteral("ACC"), QStringLiteral("Accesses")},
                                {QStringLiteral("ACT"), QStringLiteral("Access control")},
                                {QStringLiteral("PRO"), QStringLiteral("Profiles")},
                                {QStringLiteral("ZON"), QStringLiteral("Zones")}};
        InstallationTree tree(QStringLiteral("Site"));
        Components::Flags flags{};
        flags[0] = true; // ACC
        flags[2] = true; // ACT
        tree.addBlock(QStringLiteral("ACC"), flags); // a block named like a key is never translated
        tree.root().children[0].children << TreeNode(QStringLiteral("Custom"));

        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        tree.write(folder, QStringLiteral("Site"), words);
        const QByteArray voc = readAll(InstallationTree::vocabularyPath(folder, QStringLiteral("Site")));
        const QByteArray shown = readAll(InstallationTree::treePath(folder, QStringLiteral("Site")));
        QVERIFY(voc.startsWith("Site\r\n\tACC\r\n\t\tACC\r\n\t\tACT\r\n\t\t\tPRO\r\n\t\t\t\tTIM\r\n\t\t\t\tARE\r\n\t\t\t\t\tZON\r\n"));
        QVERIFY(voc.endsWith("\t\t\tTRD\r\n\t\tCustom\r\n"));
        QVERIFY(shown.startsWith("Site\r\n\tACC\r\n\t\tAccesses\r\n\t\tAccess control\r\n\t\t\tProfiles\r\n\t\t\t\tTIM\r\n"));
        QVERIFY(shown.contains("\t\t\t\t\tZones\r\n"));
        // Reading back gives the same tree; the displayed file alone gives it too.
        QCOMPARE(InstallationTree::read(folder, QStringLiteral("Site"), words).root(), tree.root());
        QFile::remove(InstallationTree::vocabularyPath(folder, QStringLiteral("Site")));
        QCOMPARE(InstallationTree::read(folder, QStringLiteral("Site"), words).root(), tree.root());
        // Written under another name, the root carries that name.
        tree.write(folder, QStringLiteral("Copy"), words);
        QVERIFY(readAll(InstallationTree::treePath(folder, QStringLiteral("Copy"))).startsWith("Copy\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestInstallationFile)
#include "tst_installation_file.moc"
