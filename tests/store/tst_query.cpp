#include "store/engine/EngineError.h"
#include "store/engine/Query.h"
#include "store/engine/Table.h"
#include "store/engine/TableFile.h"

#include "support/TestPaths.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

} // namespace

class TestQuery : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

    // Rows of a query as "a|b|c" lines (null as "~").
    QStringList rows(const QString &sql, const QVariantMap &params = {})
    {
        Query q(folder());
        q.setSql(sql);
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            q.bind(it.key(), it.value());
        q.open();
        QStringList out;
        for (; !q.eof(); q.next()) {
            QStringList cells;
            for (int i = 0; i < q.columnNames().size(); ++i)
                cells << (q.value(i).isNull() ? QStringLiteral("~") : q.value(i).toString());
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }

private slots:
    void init()
    {
        QFile::remove(folder() + "T_Zones_aux.db");
        QFile::remove(folder() + "T_ACCESS.DB");
        TableDef zones;
        zones.fileName = "T_Zones_aux.db";
        zones.fields = {intField("N_ZONA", true), intField("ACCESO", true), textField("E_S_D", 1), boolField("VISIBLE"),
                        textField("PARENT", 30), textField("DESCRIPCION", 12, true)};
        zones.primaryKey = {"N_ZONA", "ACCESO"};
        zones.rows = {{1, 1, "E", true, QVariant(), "Hall"},   {1, 2, "S", false, QVariant(), "hall"},
                      {2, 1, "D", true, "P", "Año \"1\""},     {2, 3, "E", false, QVariant(), "Patio"},
                      {3, 4, QVariant(), true, QVariant(), "Patio"}};
        TableFile::create(folder() + zones.fileName, zones);
        TableDef access;
        access.fileName = "T_ACCESS.DB";
        access.fields = {intField("NUMERO", true), textField("NOMBRE", 20)};
        access.primaryKey = {"NUMERO"};
        access.rows = {{1, "Door"}, {2, "Gate"}};
        TableFile::create(folder() + access.fileName, access);
    }

    void select_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantMap>("params");
        QTest::addColumn<QStringList>("expected");
        const QString t = "\"t_zones_AUX.db\"";
        QTest::newRow("star, param, mixed-case name")
            << "Select * from " + t + " where N_ZONA=:z" << QVariantMap{{"z", 2}} << QStringList{"2|1|D|true|P|Año \"1\"", "2|3|E|false|~|Patio"};
        QTest::newRow("or in parentheses, order")
            << "Select N_ZONA,ACCESO,E_S_D from " + t + " where ACCESO=1 and (E_S_D=\"E\" or E_S_D=\"D\") Order by ACCESO,N_ZONA desc"
            << QVariantMap{} << QStringList{"2|1|D", "1|1|E"};
        QTest::newRow("like is case-sensitive") << "select DESCRIPCION from " + t + " where DESCRIPCION like \"h%\"" << QVariantMap{} << QStringList{"hall"};
        QTest::newRow("not like, underscore") << "select N_ZONA from " + t + " where DESCRIPCION not like \"_a%\" order by N_ZONA" << QVariantMap{} << QStringList{"2"};
        QTest::newRow("upper folds accents") << "select N_ZONA from " + t + " where UPPER(DESCRIPCION)=UPPER(:d)" << QVariantMap{{"d", "año \"1\""}} << QStringList{"2"};
        QTest::newRow("empty text is null") << "select ACCESO from " + t + " where PARENT=\"\" and E_S_D is not null order by ACCESO" << QVariantMap{} << QStringList{"1", "2", "3"};
        QTest::newRow("is null, <>") << "select ACCESO from " + t + " where E_S_D is null or E_S_D<>\"E\" order by 1" << QVariantMap{} << QStringList{"1", "2", "4"};
        QTest::newRow("in sub-select distinct") << "select ACCESO from " + t + " where ACCESO in (Select distinct NUMERO from \"t_access.db\") order by ACCESO"
                                                << QVariantMap{} << QStringList{"1", "1", "2"};
        QTest::newRow("not in sub-select") << "select ACCESO from " + t + " where (ACCESO not in (Select NUMERO from \"T_Access.db\")) order by ACCESO" << QVariantMap{} << QStringList{"3", "4"};
        QTest::newRow("group having") << "select DESCRIPCION, count(*) as N from " + t + " group by DESCRIPCION having count(*)>1" << QVariantMap{} << QStringList{"Patio|2"};
        QTest::newRow("max, booleans") << "select MAX(ACCESO) from " + t + " where VISIBLE=true" << QVariantMap{} << QStringList{"4"};
        QTest::newRow("quotes and backslashes are values") << "select N_ZONA from " + t + " where DESCRIPCION=:d or DESCRIPCION='x''\\' " << QVariantMap{{"d", "a\" or 1=1 --\\"}} << QStringList{};
        QTest::newRow("comparisons") << "select ACCESO from " + t + " where ACCESO>=2 and ACCESO<4 and N_ZONA<=2 order by ACCESO" << QVariantMap{} << QStringList{"2", "3"};
    }
    void select()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantMap, params);
        QFETCH(QStringList, expected);
        QCOMPARE(rows(sql, params), expected);
    }

    void updateAndDelete()
    {
        Query q(folder());
        q.setSql("UPDATE \"T_ZONES_AUX.db\" set VISIBLE=false, PARENT=\"PANEL\" where VISIBLE=true and (ACCESO not in (Select NUMERO from \"T_ACCESS.db\"))");
        QCOMPARE(q.exec(), 1);
        q.setSql("update \"T_Zones_aux.db\" set PARENT=:p where ACCESO=:a");
        q.bind(":p", "");
        q.bind("A", 4);
        QCOMPARE(q.exec(), 1);
        QCOMPARE(rows("select PARENT, VISIBLE from \"T_Zones_aux.db\" where ACCESO=4"), QStringList{"~|false"});
        q.setSql("DELETE FROM \"T_Zones_aux.db\" WHERE N_ZONA=1 AND E_S_D=\"S\"");
        QCOMPARE(q.exec(), 1);
        // A Table sees the query's work after refresh.
        Table t(folder(), "T_Zones_aux.db");
        t.open();
        QCOMPARE(t.recordCount(), 4);
    }

    // Each refused statement names its fault and leaves the file untouched.
    void refusals_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("position");
        const QString t = "\"T_Zones_aux.db\"";
        QTest::newRow("insert") << "INSERT INTO " + t + " VALUES (1)" << int(EngineError::BadStatement) << 0;
        QTest::newRow("unknown field") << "UPDATE " + t + " SET NOPE=1" << int(EngineError::BadStatement) << 28;
        QTest::newRow("join word") << "DELETE FROM " + t + " WHERE N_ZONA=1 JOIN" << int(EngineError::BadStatement) << 44;
        QTest::newRow("unterminated text") << "DELETE FROM " + t + " WHERE E_S_D=\"E" << int(EngineError::BadStatement) << 41;
        QTest::newRow("stacked statement") << "DELETE FROM " + t + "; DELETE FROM " + t << int(EngineError::BadStatement) << 28;
        QTest::newRow("missing parameter") << "DELETE FROM " + t + " WHERE N_ZONA=:nope" << int(EngineError::BadStatement) << 42;
        QTest::newRow("text too long") << "UPDATE " + t + " SET E_S_D=\"EX\"" << int(EngineError::TextTooLong) << -1;
        QTest::newRow("required emptied") << "UPDATE " + t + " SET DESCRIPCION=\"\" WHERE N_ZONA=1" << int(EngineError::RequiredFieldMissing) << -1;
        QTest::newRow("text in a number") << "UPDATE " + t + " SET ACCESO=\"x\" WHERE N_ZONA=3" << int(EngineError::InvalidValue) << -1;
        QTest::newRow("repeated key") << "UPDATE " + t + " SET ACCESO=1 WHERE N_ZONA=1" << int(EngineError::KeyViolation) << -1;
        QTest::newRow("missing table") << "DELETE FROM \"Nothing.db\"" << int(EngineError::FileNotFound) << -1;
    }
    void refusals()
    {
        QFETCH(QString, sql);
        QFETCH(int, code);
        QFETCH(int, position);
        const QByteArray before = fileHash(folder() + "T_Zones_aux.db");
        Query q(folder());
        q.setSql(sql);
        int got = -1;
        try {
            q.exec();
        } catch (const EngineError &e) {
            got = e.code();
            if (code == EngineError::KeyViolation)
                QCOMPARE(e.text(), QStringLiteral("Key violation"));
        }
        QCOMPARE(got, code);
        QCOMPARE(q.badPosition(), position);
        QCOMPARE(fileHash(folder() + "T_Zones_aux.db"), before);
    }

    void cli_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("select with double-quoted literal")
            << QStringList{"select N_ZONA, DESCRIPCION from \"t_zones_aux.DB\" where E_S_D=\"D\""} << 0 << "N_ZONA\tDESCRIPCION\n2\tAño \"1\"\n";
        QTest::newRow("param with quotes") << QStringList{"select ACCESO, PARENT from \"T_Zones_aux.db\" where DESCRIPCION=:d", "--param", "d=Año \"1\""}
                                           << 0 << "ACCESO\tPARENT\n1\tP\n";
        QTest::newRow("update") << QStringList{"update \"T_Zones_aux.db\" set PARENT=:p where N_ZONA=1", "--param", "p=it's \\ \"here\""} << 0 << "2 rows affected\n";
        QTest::newRow("bad statement") << QStringList{"select * from \"T_Zones_aux.db\" where"} << 2 << "";
        QTest::newRow("refused update") << QStringList{"update \"T_Zones_aux.db\" set E_S_D=\"toolong\""} << 1 << "";
        QTest::newRow("missing argument") << QStringList{} << 2 << "";
    }
    void cli()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QProcess p;
        p.start(TestPaths::cliExecutable(), QStringList{"sql", folder()} + args);
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), exitCode);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), output);
        if (exitCode != 0)
            QVERIFY(!p.readAllStandardError().isEmpty());
        if (args.size() == 3 && args[0].startsWith("update"))
            QCOMPARE(rows("select distinct PARENT from \"T_Zones_aux.db\" where N_ZONA=1"), QStringList{"it's \\ \"here\""});
    }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
