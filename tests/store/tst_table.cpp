#include "store/engine/EngineError.h"
#include "store/engine/Table.h"
#include "store/engine/TableFamily.h"
#include "store/engine/TableFile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A users-like table: NUMERO key, NOMBRE required with a secondary index.
TableDef usersDef(const QString &fileName)
{
    TableDef def;
    def.fileName = fileName;
    def.fields = {intField("NUMERO", true), textField("NOMBRE", 10, true), textField("CODIGO", 6), boolField("ES_USR"),
                  autoIncField("ORDEN")};
    def.primaryKey = {QStringLiteral("NUMERO")};
    def.indexes = {IndexDef{QStringLiteral("I_NOMBRE"), {QStringLiteral("NOMBRE")}, false}};
    def.rows = {{3, QStringLiteral("Carla"), QStringLiteral("C3"), true, 1},
                {1, QStringLiteral("Bruno"), QVariant(), false, 2},
                {2, QStringLiteral("Alba"), QStringLiteral("A2"), QVariant(), 3}};
    return def;
}

QStringList walk(Table &t, const QString &field)
{
    QStringList seen;
    for (t.first(); !t.eof(); t.next())
        seen << t.text(field);
    return seen;
}

int errorCode(const std::function<void()> &f)
{
    try {
        f();
    } catch (const EngineError &e) {
        return e.code();
    }
    return -1;
}

} // namespace

class TestTable : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

private slots:
    void init()
    {
        QFile::remove(folder() + QStringLiteral("X_Users.db"));
        TableFile::create(folder() + QStringLiteral("X_Users.db"), usersDef(QStringLiteral("X_Users.db")));
    }

    void orderAndNavigation()
    {
        Table t(folder(), QStringLiteral("x_users.DB")); // any spelling finds the file
        t.open();
        QCOMPARE(walk(t, QStringLiteral("numero")), (QStringList{"1", "2", "3"}));
        QVERIFY(t.eof());
        t.setIndexName(QStringLiteral("i_nombre"));
        QCOMPARE(walk(t, QStringLiteral("NOMBRE")), (QStringList{"Alba", "Bruno", "Carla"}));
        t.last();
        QVERIFY(t.eof());
        QCOMPARE(t.text("NOMBRE"), QStringLiteral("Carla"));
        QCOMPARE(t.moveBy(-5), -2);
        QVERIFY(t.bof());
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.text("CODIGO"), QStringLiteral("A2"));
        QVERIFY(t.isNull("ES_USR"));
        QCOMPARE(t.text("ES_USR"), QString());
        t.next();
        QCOMPARE(t.text("ES_USR"), QStringLiteral("False"));
        QVERIFY(t.isNull("codigo"));
        QCOMPARE(errorCode([&] { t.setIndexName(QStringLiteral("I_NONE")); }), int(EngineError::IndexNotFound));
        QCOMPARE(errorCode([&] { t.value(QStringLiteral("NOPE")); }), int(EngineError::FieldNotFound));
    }

    // A larger table read past its first chunk, in both orders.
    void longWalk()
    {
        Table t(folder(), QStringLiteral("X_Users.db"));
        t.open();
        t.emptyTable();
        t.beginTransaction();
        for (int i = 0; i < 300; ++i) {
            t.append();
            t.setInteger("NUMERO", i);
            t.setText("NOMBRE", QStringLiteral("N%1").arg(299 - i, 3, 10, QLatin1Char('0')));
            t.post();
        }
        t.commit();
        QCOMPARE(t.recordCount(), 300);
        int n = 0;
        qint64 prev = -1;
        for (t.first(); !t.eof(); t.next(), ++n) {
            QVERIFY(t.integer("NUMERO") > prev);
            prev = t.integer("NUMERO");
        }
        QCOMPARE(n, 300);
        t.setIndexName(QStringLiteral("I_NOMBRE"));
        t.first();
        QCOMPARE(t.integer("NUMERO"), 299);
        QCOMPARE(t.moveBy(250), 250);
        QCOMPARE(t.integer("NUMERO"), 49);
        // The auto-increment field was numbered on each post.
        QCOMPARE(t.integer("ORDEN"), 50);
    }

    void insertEditDeleteAndCursor()
    {
        Table t(folder(), QStringLiteral("X_Users.db"));
        t.setIndexName(QStringLiteral("I_NOMBRE"));
        t.open();
        QSignalSpy data(&t, &Table::dataChanged);
        t.insert();
        QCOMPARE(t.state(), Table::State::Insert);
        t.setInteger("NUMERO", 7);
        t.setText("NOMBRE", QStringLiteral("Bea"));
        t.setText("CODIGO", QString()); // empty text is kept as null
        t.post();
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.integer("ORDEN"), 4);
        QVERIFY(t.isNull("CODIGO"));
        // The cursor stands on the new record in index order.
        t.next();
        QCOMPARE(t.text("NOMBRE"), QStringLiteral("Bruno"));
        t.prior();
        QCOMPARE(t.text("NOMBRE"), QStringLiteral("Bea"));

        // Changing the order field moves the cursor with the record.
        t.edit();
        t.setText("NOMBRE", QStringLiteral("Zoe"));
        t.post();
        QCOMPARE(t.text("NOMBRE"), QStringLiteral("Zoe"));
        t.prior();
        QCOMPARE(t.text("NOMBRE"), QStringLiteral("Carla"));

        // Delete: the cursor stands on the following record.
        QVERIFY(t.locate({QStringLiteral("nombre")}, {QStringLiteral("bru")}, Table::CaseInsensitive | Table::PartialKey));
        t.deleteRecord();
        QCOMPARE(t.text("NOMBRE"), QStringLiteral("Carla"));
        QCOMPARE(t.recordCount(), 3);
        t.last();
        t.deleteRecord(); // the last one: the cursor stands on the new last
        QCOMPARE(t.text("NOMBRE"), QStringLiteral("Carla"));
        QVERIFY(t.eof());
        QCOMPARE(walk(t, "NOMBRE"), (QStringList{"Alba", "Carla"}));
        QVERIFY(data.count() >= 4);

        // Cancel leaves the record as it was.
        t.first();
        t.edit();
        t.setText("NOMBRE", QStringLiteral("Other"));
        t.cancel();
        QCOMPARE(t.text("NOMBRE"), QStringLiteral("Alba"));
        t.emptyTable();
        QVERIFY(t.isEmpty());
        QVERIFY(t.eof() && t.bof());
        QCOMPARE(errorCode([&] { t.edit(); }), int(EngineError::NoCurrentRecord));
    }

    void badWritesChangeNothing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("code");
        QTest::newRow("text too long") << "NOMBRE" << QVariant(QStringLiteral("ElevenChars")) << int(EngineError::TextTooLong);
        QTest::newRow("required left empty") << "NOMBRE" << QVariant(QString()) << int(EngineError::RequiredFieldMissing);
        QTest::newRow("repeated key") << "NUMERO" << QVariant(2) << int(EngineError::KeyViolation);
        QTest::newRow("not a number") << "NUMERO" << QVariant(QStringLiteral("x1")) << int(EngineError::InvalidValue);
    }
    void badWritesChangeNothing()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(int, code);
        for (bool inserting : {true, false}) {
            Table t(folder(), QStringLiteral("X_Users.db"));
            t.open();
            if (inserting) {
                t.insert();
                t.setInteger("NUMERO", 9);
                t.setText("NOMBRE", QStringLiteral("New"));
            } else {
                t.edit();
            }
            int got = -1;
            QString message;
            try {
                t.setValue(field, value);
                t.post();
            } catch (const EngineError &e) {
                got = e.code();
                message = e.text();
            }
            QCOMPARE(got, code);
            if (code == EngineError::KeyViolation)
                QCOMPARE(message, QStringLiteral("Key violation"));
            QVERIFY(t.state() != Table::State::Browse); // still editing, the caller may fix it
            t.cancel();
            QCOMPARE(walk(t, "NOMBRE"), (QStringList{"Bruno", "Alba", "Carla"}));
        }
    }

    void wrongStateIsAnError()
    {
        Table t(folder(), QStringLiteral("X_Users.db"));
        QCOMPARE(errorCode([&] { t.first(); }), int(EngineError::WrongState));
        t.open();
        QCOMPARE(errorCode([&] { t.setText("NOMBRE", "A"); }), int(EngineError::NotEditing));
        QCOMPARE(errorCode([&] { t.post(); }), int(EngineError::NotEditing));
    }

    void keyWithEmptyFieldIsStillUnique()
    {
        TableDef def;
        def.fileName = QStringLiteral("K.db");
        def.fields = {textField("A", 4), textField("B", 4)};
        def.primaryKey = {QStringLiteral("A"), QStringLiteral("B")};
        TableFile::create(folder() + def.fileName, def);
        Table t(folder(), def.fileName);
        t.open();
        t.insert();
        t.setText("A", "x");
        t.post();
        t.insert();
        t.setText("A", "x");
        QCOMPARE(errorCode([&] { t.post(); }), int(EngineError::KeyViolation));
        t.cancel();
        QCOMPARE(t.recordCount(), 1);
    }

    void hooksInOrderAndAbort()
    {
        Table t(folder(), QStringLiteral("X_Users.db"));
        QStringList calls;
        auto log = [&](const char *name) { return [&calls, name](Table &) { calls << QLatin1String(name); }; };
        t.beforeInsert = log("beforeInsert");
        t.onNewRecord = [&](Table &table) {
            calls << "onNewRecord";
            table.setText("CODIGO", "NEW");
        };
        t.beforeEdit = log("beforeEdit");
        t.beforePost = log("beforePost");
        t.afterPost = log("afterPost");
        t.beforeDelete = log("beforeDelete");
        t.afterScroll = log("afterScroll");
        t.open();
        t.insert();
        QCOMPARE(t.text("CODIGO"), QStringLiteral("NEW"));
        t.setInteger("NUMERO", 5);
        t.setText("NOMBRE", "Eva");
        t.post();
        t.edit();
        t.post();
        t.deleteRecord();
        QCOMPARE(calls, (QStringList{"afterScroll", "beforeInsert", "onNewRecord", "beforePost", "afterPost", "beforeEdit",
                                     "beforePost", "afterPost", "beforeDelete", "afterScroll"}));

        // A hook that aborts leaves the table as it was.
        t.beforeDelete = [](Table &) { throw Abort(); };
        t.first();
        QVERIFY_THROWS_EXCEPTION(Abort, t.deleteRecord());
        t.beforePost = [](Table &) { throw Abort(); };
        t.edit();
        t.setText("NOMBRE", "Changed");
        QVERIFY_THROWS_EXCEPTION(Abort, t.post());
        QCOMPARE(t.state(), Table::State::Edit);
        t.cancel();
        t.onNewRecord = [](Table &) { throw Abort(); };
        QVERIFY_THROWS_EXCEPTION(Abort, t.insert());
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.recordCount(), 3);
    }

    void locateBookmarkAndFilter()
    {
        Table t(folder(), QStringLiteral("X_Users.db"));
        t.open();
        QVERIFY(t.locate({"NOMBRE"}, {"Carla"}));
        const Table::Bookmark mark = t.bookmark();
        QVERIFY(!t.locate({"NOMBRE"}, {"carla"}));
        QCOMPARE(t.text("NOMBRE"), QStringLiteral("Carla")); // a failed locate stays
        QVERIFY(t.locate({"CODIGO", "ES_USR"}, {QString(), false}));
        QCOMPARE(t.integer("NUMERO"), 1);
        QVERIFY(t.gotoBookmark(mark));
        QCOMPARE(t.integer("NUMERO"), 3);

        QVERIFY(t.locate({"NOMBRE"}, {"Bruno"}));
        const Table::Bookmark bruno = t.bookmark();
        t.setFilter([](const Table &r) { return !r.isNull("CODIGO"); });
        QCOMPARE(walk(t, "NUMERO"), (QStringList{"2", "3"}));
        QCOMPARE(t.recordCount(), 2);
        QVERIFY(!t.gotoBookmark(bruno)); // filtered out
        t.setFilter(nullptr);
        QCOMPARE(t.recordCount(), 3);
    }

    void severalTablesOnOneFile()
    {
        Table a(folder(), QStringLiteral("X_Users.db"));
        Table b(folder(), QStringLiteral("X_USERS.DB"));
        a.open();
        b.open();
        a.insert();
        a.setInteger("NUMERO", 10);
        a.setText("NOMBRE", "Dani");
        a.post();
        a.first();
        a.deleteRecord(); // NUMERO 1
        QCOMPARE(b.integer("NUMERO"), 1); // b still shows what it read
        b.refresh();
        QCOMPARE(walk(b, "NUMERO"), (QStringList{"2", "3", "10"}));

        // A rolled-back transaction leaves nothing behind.
        b.beginTransaction();
        b.first();
        b.edit();
        b.setText("NOMBRE", "Temp");
        b.post();
        b.rollback();
        a.refresh();
        QVERIFY(a.locate({"NUMERO"}, {2}));
        QCOMPARE(a.text("NOMBRE"), QStringLiteral("Alba"));
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("code");
        QTest::newRow("missing") << "Missing.db" << QByteArray() << int(EngineError::FileNotFound);
        QTest::newRow("not a database") << "Junk.db" << QByteArray("this is not a table at all\n") << int(EngineError::NotATable);
        QTest::newRow("no metadata") << "Bare.db" << QByteArray("sqlite") << int(EngineError::NotATable);
    }
    void openFailures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, code);
        const QString path = folder() + name;
        if (content == "sqlite") {
            TableFile::create(path, usersDef(name));
            Table t(folder(), name);
            t.open();
            t.close();
            // Drop the description the engine relies on.
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QByteArray bytes = f.readAll();
            bytes.replace("_vel_fields", "_xxx_fields");
            f.seek(0);
            f.write(bytes);
            f.close();
        } else if (!content.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        const QByteArray before = QFile::exists(path) ? [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }() : QByteArray();
        Table t(folder(), name);
        QCOMPARE(errorCode([&] { t.open(); }), code);
        QVERIFY(!t.isOpen());
        if (!before.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), before);
        }
    }

    void familyCopyAndRemove()
    {
        QTemporaryDir to;
        const QString from = folder();
        QFile companion(from + QStringLiteral("x_users.PX"));
        QVERIFY(companion.open(QIODevice::WriteOnly));
        companion.write("index");
        companion.close();
        const QStringList written = TableFamily::copy(from, QStringLiteral("X_USERS"), to.path(), QStringLiteral("Tower_North_Users"));
        QCOMPARE(written.size(), 2);
        QVERIFY(QFile::exists(to.path() + QStringLiteral("/Tower_North_Users.db")));
        QVERIFY(QFile::exists(to.path() + QStringLiteral("/Tower_North_Users.PX")));
        Table copy(to.path(), QStringLiteral("tower_north_users.db"));
        copy.open();
        QCOMPARE(copy.recordCount(), 3);
        copy.close();
        // A copy over a differently spelt existing file replaces it.
        TableFamily::copy(from, QStringLiteral("X_Users"), to.path(), QStringLiteral("TOWER_NORTH_USERS"));
        QCOMPARE(QDir(to.path()).entryList(QDir::Files).size(), 2);
        QCOMPARE(TableFamily::remove(to.path(), QStringLiteral("tower_north_users")), 2);
        QVERIFY(QDir(to.path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(TableFamily::remove(to.path(), QStringLiteral("tower_north_users")), 0);
        QCOMPARE(errorCode([&] { TableFamily::copy(from, "Nothing", to.path(), "X"); }), int(EngineError::FileNotFound));
        QFile::remove(from + QStringLiteral("x_users.PX"));
    }
};

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
