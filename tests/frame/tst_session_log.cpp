#include "frame/ProgramState.h"
#include "frame/SessionLog.h"
#include "store/engine/Table.h"
#include "support/TestPaths.h"

#include <QTest>

namespace {

void fillLog(const QString &systemDir, int rows)
{
    Table log(systemDir, QStringLiteral("Oprlog.db"));
    log.open();
    log.beginTransaction();
    for (int i = 0; i < rows; ++i) {
        log.append();
        log.setText(QStringLiteral("LOGIN"), QStringLiteral("old%1").arg(i));
        log.setInteger(QStringLiteral("NIVEL"), 0);
        log.post();
    }
    log.commit();
}

} // namespace

class TestSessionLog : public QObject {
    Q_OBJECT
private slots:
    void fullLogIsEmptiedFirst_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("empty") << 0 << 1;
        QTest::newRow("399 rows grow") << 399 << 400;
        QTest::newRow("400 rows emptied") << 400 << 1;
        QTest::newRow("more than 400 emptied") << 405 << 1;
    }
    void fullLogIsEmptiedFirst()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        TestFolders folders;
        QVERIFY2(folders.isValid(), qPrintable(folders.error()));
        fillLog(folders.systemDir(), before);

        const QDateTime when(QDate(2024, 3, 9), QTime(14, 5));
        const int id = SessionLog::start(folders.systemDir(), QStringLiteral("Admin^^^^^^^^^^^"), 2, when);

        Table log(folders.systemDir(), QStringLiteral("OPRLOG.DB"));
        log.open();
        QCOMPARE(log.recordCount(), after);
        log.last();
        QCOMPARE(log.integer(QStringLiteral("ID_K")), qint64(id));
        QCOMPARE(log.text(QStringLiteral("LOGIN")), QStringLiteral("admin"));
        QCOMPARE(log.integer(QStringLiteral("NIVEL")), qint64(2));
        QCOMPARE(log.text(QStringLiteral("START_D")), QLocale::system().toString(when.date(), QLocale::ShortFormat));
        QCOMPARE(log.text(QStringLiteral("START_H")), QLocale::system().toString(when.time(), QLocale::ShortFormat));
        QVERIFY(log.isNull(QStringLiteral("END_D")));
        // The new row carries the largest number of the log.
        for (log.first(); !log.eof(); log.next())
            QVERIFY(log.integer(QStringLiteral("ID_K")) <= id);
    }

    void endClosesOnlyTheSessionRow()
    {
        TestFolders folders;
        ProgramState state;
        state.systemFolder = folders.systemDir();
        SessionLog::endSession(state); // nobody logged in: nothing to do

        const int first = SessionLog::start(folders.systemDir(), QStringLiteral("op"), 1);
        SessionLog::startSession(state, QStringLiteral("OP^^"), 1);
        QCOMPARE(state.operatorName, QStringLiteral("op"));
        QCOMPARE(state.operatorLevel, 1);
        QVERIFY(state.sessionId > first);
        QVERIFY(state.loggedIn());
        SessionLog::endSession(state);

        Table log(folders.systemDir(), QStringLiteral("Oprlog.db"));
        log.open();
        QCOMPARE(log.recordCount(), 2);
        QVERIFY(log.locate({QStringLiteral("ID_K")}, {first}));
        QVERIFY(log.isNull(QStringLiteral("END_D")));
        QVERIFY(log.locate({QStringLiteral("ID_K")}, {state.sessionId}));
        QVERIFY(!log.text(QStringLiteral("END_D")).isEmpty());
        QVERIFY(!log.text(QStringLiteral("END_H")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSessionLog)
#include "tst_session_log.moc"
