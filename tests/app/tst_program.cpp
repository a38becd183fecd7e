#include "app/Main.h"
#include "app/Program.h"
#include "diagnostics/ui/F_Test_CU.h"
#include "link/BlockFlags.h"
#include "editors/ui/F_Princ.h"
#include "frame/Lang.h"
#include "store/InstallationStore.h"
#include "support/ModalScript.h"
#include "support/TestPaths.h"

#include <QDialog>
#include <QTimer>
#include <QTreeWidget>
#include <QTest>

// The program as started by `make run`: the block tools and the central
// unit test are attached to the installation window, and opening an
// installation tests its central units on the demonstration bus.
class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void openingTestsTheCentralUnitsOfTheDemonstrationBus()
    {
        TestFolders folders;
        QVERIFY2(folders.isValid(), qPrintable(folders.error()));
        const QString demo = folders.root() + QStringLiteral("demo/");
        Program program;
        QString error;
        QVERIFY2(program.start(Program::Options{demo, false}, &error), qPrintable(error));

        for (const char *name : {"NEW_BLOCK", "LOAD_BLOCK", "BLOCKS_SUMMARY", "TEST_INSTALLATION", "AUTO_TEST"})
            QVERIFY2(TF_Principal::hasCommand(QLatin1String(name)), name);

        // An installation whose blocks sit at CU 01 (on the bus) and CU 07 (absent).
        const QString work = demo + QStringLiteral("work/");
        QVERIFY(InstallationStore::createInstallation(work, QStringLiteral("Tower"), InstallationStore::Connection::Local,
                                                      QString(), QStringLiteral("COM1"))
                    .ok);
        for (const auto &[name, code] : {std::pair{"North", 1}, std::pair{"South", 7}}) {
            InstallationStore::NewBlock block;
            block.name = QLatin1String(name);
            block.code = code;
            block.type = 1;
            block.components.fill(true);
            const StoreOutcome added = InstallationStore::addBlock(work, QStringLiteral("Tower"), block);
            QVERIFY2(added.ok, qPrintable(added.message));
        }

        ModalScript script;
        bool testRan = false;
        // The test starts by itself once the window shows; the window is
        // closed when both rows have their result.
        script.expect(QStringLiteral("F_Test_CU"), [&](QDialog *dialog) {
            auto *test = qobject_cast<TF_Test_CU *>(dialog);
            QVERIFY(test);
            auto *watch = new QTimer(dialog);
            QObject::connect(watch, &QTimer::timeout, dialog, [&, test, dialog, watch] {
                QTreeWidget *rows = test->resultList();
                if (test->running() || rows->topLevelItemCount() != 2 || rows->topLevelItem(1)->text(2).isEmpty())
                    return;
                watch->stop();
                testRan = true;
                ModalScript::click(dialog, QStringLiteral("B_CLOSE"));
            });
            watch->start(50);
        });
        QVERIFY(program.mainForm()->openInstallationFile(work + QStringLiteral("Tower.axo")));
        QTRY_VERIFY_WITH_TIMEOUT(testRan, 30000);
        QCOMPARE(script.remaining(), 0);
        QVERIFY(BlockFlags::hasAnswered(1));
        QVERIFY(!BlockFlags::hasAnswered(7));
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
