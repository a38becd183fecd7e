#include "support/TestPaths.h"
#include "support/TransferFixture.h"
#include "transfer/Compile.h"

#include <QFile>
#include <QTest>

// The compile rebuilds image tables as scratch files; a spoiled one is
// replaced from its template rather than stopping every later send.
class TestCompile : public QObject {
    Q_OBJECT
private slots:
    void spoiledImageTableIsRebuilt()
    {
        TestFolders folders;
        QVERIFY2(folders.isValid(), qPrintable(folders.error()));
        TransferFixture::createBlock(folders.workDir());

        const QString image = folders.workDir() + TransferFixture::file(QStringLiteral("_AXOTIM"));
        QFile spoiled(image);
        QVERIFY(spoiled.open(QIODevice::WriteOnly | QIODevice::Truncate));
        spoiled.write(QByteArray(4096, char(0x5A)));
        spoiled.close();

        const Compile::Outcome outcome =
            Compile::run(Compile::Kind::Timetables, folders.workDir(), TransferFixture::prefix(), {});
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(outcome.rows, 32);

        Table t(folders.workDir(), TransferFixture::file(QStringLiteral("_AXOTIM")));
        t.open();
        QCOMPARE(t.recordCount(), 32);
    }
};

QTEST_GUILESS_MAIN(TestCompile)
#include "tst_compile.moc"
