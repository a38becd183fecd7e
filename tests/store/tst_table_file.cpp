#include "store/engine/EngineError.h"
#include "store/engine/TableFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestTableFile : public QObject {
    Q_OBJECT
private slots:
    void definitionRoundTrip()
    {
        QTemporaryDir dir;
        TableDef def;
        def.fileName = QStringLiteral("M_Sample.db");
        def.fields = {textField("NOMBRE", 30, true), intField("NUMERO"), boolField("ACTIVO")};
        def.primaryKey = {QStringLiteral("NUMERO")};
        def.indexes = {IndexDef{QStringLiteral("I_NOMBRE"), {QStringLiteral("NOMBRE")}, false}};
        def.rows = {{QStringLiteral("A"), 1, true}, {QStringLiteral("B"), 2, QVariant()}};
        const QString path = dir.filePath(def.fileName);
        TableFile::create(path, def);

        const TableDef read = TableFile::readDefinition(path);
        QCOMPARE(read.fields.size(), 3);
        QCOMPARE(read.fields[0].name, QStringLiteral("NOMBRE"));
        QCOMPARE(read.fields[0].width, 30);
        QVERIFY(read.fields[0].required);
        QCOMPARE(read.fields[2].kind, FieldKind::Boolean);
        QCOMPARE(read.primaryKey, QStringList{QStringLiteral("NUMERO")});
        QCOMPARE(read.indexes.size(), 1);
        QCOMPARE(read.indexes[0].name, QStringLiteral("I_NOMBRE"));
    }

    void refusesBadInputAndLeavesNoFile()
    {
        QTemporaryDir dir;
        TableDef def;
        def.fileName = QStringLiteral("M_Bad.db");
        def.fields = {textField("CODE", 2)};
        def.primaryKey = {QStringLiteral("CODE")};
        def.rows = {{QStringLiteral("toolong")}};
        const QString path = dir.filePath(def.fileName);
        try {
            TableFile::create(path, def);
            QFAIL("a text longer than its field was accepted");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(EngineError::TextTooLong));
        }
        QVERIFY(!QFile::exists(path));

        def.rows = {{QStringLiteral("AA")}, {QStringLiteral("AA")}};
        try {
            TableFile::create(path, def);
            QFAIL("a repeated key was accepted");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(EngineError::KeyViolation));
        }
        QVERIFY(!QFile::exists(path));

        QFile junk(dir.filePath(QStringLiteral("junk.db")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("this is not a table at all, just some bytes of text");
        junk.close();
        try {
            TableFile::readDefinition(junk.fileName());
            QFAIL("a file that is not a table was read");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(EngineError::NotATable));
        }
    }
};

QTEST_GUILESS_MAIN(TestTableFile)
#include "tst_table_file.moc"
