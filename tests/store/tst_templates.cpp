// Checks the generated system folder: every template a block, an
// installation or the incidence log is copied from exists with its key,
// named indexes and initial rows, and image fields are wide enough for the
// installation fields compiled into them.
#include "store/engine/EngineError.h"
#include "store/engine/TableFile.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sqlite3.h>

namespace {

// The template file named `fileName` without regard to case, as the engine
// resolves it; empty when there is none.
QString templatePath(const QString &fileName)
{
    const QDir dir(TestPaths::templateDir());
    for (const QString &name : dir.entryList(QDir::Files)) {
        if (name.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return QString();
}

// The first column of the first row of `sql` (with `param`, when given,
// bound to ?1) run on a template, as text ("<null>" for NULL, "<none>" when
// there is no row).
QString queryText(const QString &fileName, const QString &sql, const QString &param = QString())
{
    sqlite3 *db = nullptr;
    const QByteArray path = QFile::encodeName(templatePath(fileName));
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("<cannot open>");
    }
    sqlite3_stmt *stmt = nullptr;
    QString result;
    const QByteArray bound = param.toUtf8();
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        result = QStringLiteral("<bad query: %1>").arg(QString::fromUtf8(sqlite3_errmsg(db)));
    } else if (!param.isEmpty() && sqlite3_bind_text(stmt, 1, bound.constData(), -1, SQLITE_TRANSIENT) != SQLITE_OK) {
        result = QStringLiteral("<cannot bind>");
    } else if (sqlite3_step(stmt) != SQLITE_ROW) {
        result = QStringLiteral("<none>");
    } else if (sqlite3_column_type(stmt, 0) == SQLITE_NULL) {
        result = QStringLiteral("<null>");
    } else {
        result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

const FieldDef *findField(const TableDef &def, const QString &name)
{
    const int at = def.fieldIndex(name);
    return at < 0 ? nullptr : &def.fields[at];
}

} // namespace

class TestTemplates : public QObject {
    Q_OBJECT
private slots:
    // Every template exists, is a table, has its primary key and starts with
    // the stated number of rows.
    void templateShape_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("key");
        QTest::addColumn<int>("rows");
        const QStringList nr = {QStringLiteral("NR")};
        const QStringList numero = {QStringLiteral("NUMERO")};
        const QStringList grupo = {QStringLiteral("GRUPO")};
        const QStringList none;
        // The families of a block, in the order a block is made.
        QTest::newRow("AXOPRO") << "AXOPRO.db" << nr << 64;
        QTest::newRow("AXOTIM") << "AXOTIM.db" << nr << 32;
        QTest::newRow("AXOARE") << "AXOARE.db" << nr << 32;
        QTest::newRow("AXOCOD") << "AXOCOD.db" << nr << 10;
        QTest::newRow("AXOLIC") << "AXOLIC.db" << nr << 15;
        QTest::newRow("AXOACC") << "AXOACC.db" << nr << 32;
        QTest::newRow("AXOHL1") << "AXOHL1.db" << nr << 4;
        QTest::newRow("AXOHL2") << "AXOHL2.db" << nr << 3;
        QTest::newRow("AXOZON") << "AXOZON.db" << nr << 32;
        QTest::newRow("AXOSCH") << "AXOSCH.db" << nr << 32;
        QTest::newRow("AXOUSR") << "AXOUSR.db" << QStringList{"AUTO_PK_EN_PLUS"} << 0;
        QTest::newRow("AXOREL") << "AXOREL.db" << nr << 10;
        QTest::newRow("AXOSEN") << "AXOSEN.db" << nr << 10;
        QTest::newRow("M_MESSAGE") << "M_MESSAGE.db" << nr << 16;
        QTest::newRow("M_PHONES") << "M_PHONES.db" << numero << 4;
        QTest::newRow("M_PROFILES") << "M_PROFILES.db" << QStringList{"NUMERO_PERFIL"} << 4;
        QTest::newRow("M_TIMETABLES") << "M_TIMETABLES.db" << numero << 0;
        QTest::newRow("M_ACCESS") << "M_ACCESS.db" << numero << 0;
        QTest::newRow("M_LIFTS") << "M_LIFTS.db" << numero << 0;
        QTest::newRow("M_LICENSES") << "M_LICENSES.db" << numero << 0;
        QTest::newRow("M_LIFT_CODES") << "M_LIFT_CODES.db" << numero << 0;
        QTest::newRow("M_LIFT_TIMES") << "M_LIFT_TIMES.db" << none << 1;
        QTest::newRow("M_HPER") << "M_HPER.db" << numero << 0;
        QTest::newRow("M_HDAY") << "M_HDAY.db" << numero << 0;
        QTest::newRow("M_ITEMS_HAS") << "M_ITEMS_HAS.db" << none << 8;
        QTest::newRow("M_INDOOR") << "M_INDOOR.db" << QStringList{"CODIGO"} << 0;
        QTest::newRow("M_GUNITS") << "M_GUNITS.db" << QStringList{"CODIGO"} << 0;
        QTest::newRow("M_AREAS") << "M_AREAS.db" << numero << 0;
        QTest::newRow("M_ZONES") << "M_ZONES.db" << QStringList{"N_ZONA"} << 32;
        QTest::newRow("M_ZONES_AUX") << "M_ZONES_AUX.db" << QStringList{"N_ZONA", "ACCESO"} << 1024;
        QTest::newRow("M_USERS") << "M_USERS.db" << QStringList{"AUTO_PK"} << 0;
        QTest::newRow("M_USERS__") << "M_USERS__.db" << none << 0;
        QTest::newRow("M_RELAY_VALUE") << "M_RELAY_VALUE.db" << QStringList{"RELE"} << 0;
        QTest::newRow("M_RELAY") << "M_RELAY.db" << grupo << 0;
        QTest::newRow("M_RELAY_DESC") << "M_RELAY_DESC.db" << QStringList{"RELE"} << 1000;
        QTest::newRow("M_WHO_ITEM") << "M_WHO_ITEM.db" << none << 0;
        QTest::newRow("M_SENSOR") << "M_SENSOR.db" << grupo << 0;
        QTest::newRow("M_SENSOR_DESC") << "M_SENSOR_DESC.db" << QStringList{"SENSOR"} << 1000;
        QTest::newRow("M_WHO_ITEMS") << "M_WHO_ITEMS.db" << none << 0;
        QTest::newRow("M_SENSOR_M") << "M_SENSOR_M.db" << QStringList{"SENSOR"} << 0;
        QTest::newRow("M_SCHEDULER") << "M_SCHEDULER.db" << numero << 0;
        // Installation-wide tables, the incidence log and the session log.
        QTest::newRow("M_EVENTS2") << "M_EVENTS2.db" << none << 0;
        QTest::newRow("M_EVENTS2_D") << "M_EVENTS2_D.db" << none << 3;
        QTest::newRow("M_CODES") << "M_CODES.db" << none << 0;
        QTest::newRow("M_MESSAGE_PANEL") << "M_MESSAGE_PANEL.DB" << none << 0;
        QTest::newRow("M_LOCATOR") << "M_LOCATOR.DB" << none << 0;
        QTest::newRow("M_TYPE_C") << "M_TYPE_C.DB" << none << 1;
        QTest::newRow("M_PORT") << "M_PORT.DB" << none << 1;
        QTest::newRow("M_Rec") << "M_Rec.db" << QStringList{"ORDEN"} << 0;
        QTest::newRow("Oprlog") << "Oprlog.db" << QStringList{"ID_K"} << 0;
    }
    void templateShape()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, key);
        QFETCH(int, rows);
        const QString path = templatePath(file);
        QVERIFY2(!path.isEmpty(), qPrintable(file + QStringLiteral(" is missing")));
        TableDef def;
        try {
            def = TableFile::readDefinition(path);
        } catch (const EngineError &e) {
            QFAIL(qPrintable(e.text()));
        }
        QCOMPARE(def.primaryKey, key);
        QCOMPARE(queryText(file, QStringLiteral("SELECT count(*) FROM data")), QString::number(rows));
    }

    void zonePictureExists()
    {
        QVERIFY(QFile::exists(templatePath(QStringLiteral("Zona.bmp"))));
    }

    // Named secondary indexes that windows and sends choose by name.
    void namedIndexes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("users by name") << "M_USERS.db" << "I_NOMBRE" << QStringList{"NOMBRE"};
        QTest::newRow("users by floor") << "M_USERS.db" << "I_PISO" << QStringList{"PISO_USR"};
        QTest::newRow("users by door") << "M_USERS.db" << "I_PTA_PIN" << QStringList{"PTA_PIN"};
        QTest::newRow("users by number") << "M_USERS.db" << "I_NUMERO" << QStringList{"N_USUARIO"};
        QTest::newRow("image by name") << "AXOUSR.db" << "I_NAME" << QStringList{"NAME"};
        QTest::newRow("image by user") << "AXOUSR.db" << "I_USER" << QStringList{"USER"};
        QTest::newRow("image by code") << "AXOUSR.db" << "I_CODE" << QStringList{"CODE"};
        QTest::newRow("image by door") << "AXOUSR.db" << "I_DOOR" << QStringList{"DOOR"};
        QTest::newRow("log by date") << "M_Rec.db" << "I_FECHA" << QStringList{"FECHA"};
        QTest::newRow("log by event") << "M_Rec.db" << "I_EVENTO" << QStringList{"EVENTO"};
        QTest::newRow("log by info") << "M_Rec.db" << "I_INFO" << QStringList{"INFO"};
        QTest::newRow("log by name") << "M_Rec.db" << "I_DESC" << QStringList{"DESC"};
    }
    void namedIndexes()
    {
        QFETCH(QString, file);
        QFETCH(QString, index);
        QFETCH(QStringList, fields);
        const TableDef def = TableFile::readDefinition(templatePath(file));
        bool found = false;
        for (const IndexDef &declared : def.indexes) {
            if (declared.name == index) {
                found = true;
                QCOMPARE(declared.fields, fields);
                // Duplicate names, numbers and codes are allowed.
                QVERIFY(!declared.unique);
            }
        }
        QVERIFY2(found, qPrintable(index + QStringLiteral(" is not declared")));
        // The engine orders by the SQLite index of the same name.
        QCOMPARE(queryText(file, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='index' AND name=?1"), index),
                 QStringLiteral("1"));
    }

    // Initial rows at their boundaries.
    void initialRows_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *file, const char *sql, const char *expected) {
            QTest::newRow(name) << QString::fromLatin1(file) << QString::fromLatin1(sql) << QString::fromUtf8(expected);
        };
        // Zone membership at rest: every row unused and in the palette; two
        // rows of sixteen icons.
        row("membership all at rest", "M_ZONES_AUX.db",
            "SELECT count(*) FROM data WHERE E_S_D='X' AND ACCESO_VISIBLE=0 "
            "AND PARENT='PANEL_CONTENEDOR_ACCESOS' AND W=24 AND H=47",
            "1024");
        row("membership access 0", "M_ZONES_AUX.db", "SELECT T||','||L FROM data WHERE N_ZONA=0 AND ACCESO=0", "2,16");
        row("membership access 15", "M_ZONES_AUX.db", "SELECT T||','||L FROM data WHERE N_ZONA=5 AND ACCESO=15", "2,481");
        row("membership access 16", "M_ZONES_AUX.db", "SELECT T||','||L FROM data WHERE N_ZONA=5 AND ACCESO=16", "66,16");
        row("membership access 17", "M_ZONES_AUX.db", "SELECT T||','||L FROM data WHERE N_ZONA=5 AND ACCESO=17", "66,47");
        row("membership last row", "M_ZONES_AUX.db", "SELECT T||','||L FROM data WHERE N_ZONA=31 AND ACCESO=31", "66,481");
        row("zones 0..31 undefined", "M_ZONES.db",
            "SELECT min(N_ZONA)||'-'||max(N_ZONA)||' defined '||count(DESCRIPCION) FROM data", "0-31 defined 0");
        row("system profiles", "M_PROFILES.db",
            "SELECT group_concat(NUMERO_PERFIL) FROM (SELECT NUMERO_PERFIL FROM data ORDER BY 1)", "120,125,126,127");
        row("profile 127 name", "M_PROFILES.db", "SELECT DESCRIPCION FROM data WHERE NUMERO_PERFIL=127", "No restrictions");
        row("system profiles have empty subprofiles", "M_PROFILES.db",
            "SELECT count(*) FROM data WHERE coalesce(P1GZ,P1H,P2GZ,P2H,P3GZ,P3H) IS NULL", "4");
        row("components in order", "M_ITEMS_HAS.db",
            "SELECT group_concat(ORDEN||ITEM, ' ') FROM (SELECT ORDEN, ITEM FROM data ORDER BY rowid)",
            "0ACC 1APT 2ACT 3LCT 4SCH 5GUD 6IND 7ALA");
        row("no component yet", "M_ITEMS_HAS.db", "SELECT count(*) FROM data WHERE CONTIENE=0", "8");
        row("relay descriptions", "M_RELAY_DESC.db",
            "SELECT min(RELE)||'-'||max(RELE)||' '||count(DISTINCT RELE)||' '||count(DESCRIPCION) FROM data", "000-999 1000 0");
        row("relay 007 is text", "M_RELAY_DESC.db", "SELECT typeof(RELE) FROM data WHERE RELE='007'", "text");
        row("sensor descriptions", "M_SENSOR_DESC.db",
            "SELECT min(SENSOR)||'-'||max(SENSOR)||' '||count(DISTINCT SENSOR) FROM data", "000-999 1000");
        row("telephone groups", "M_PHONES.db", "SELECT group_concat(NUMERO) FROM (SELECT NUMERO FROM data ORDER BY 1)", "0,1,2,3");
        row("messages", "M_MESSAGE.db", "SELECT min(NR)||'-'||max(NR)||' '||count(DISTINCT NR) FROM data", "00-15 16");
        row("lift times", "M_LIFT_TIMES.db", "SELECT T_USER||','||T_VISITOR FROM data", "0,0");
        row("connection", "M_TYPE_C.DB", "SELECT TIPO_CONEXION||'/'||ifnull(TELEFONO,'') FROM data", "LOCAL/");
        row("port empty", "M_PORT.DB", "SELECT PUERTO FROM data", "<null>");
        row("warning kinds", "M_EVENTS2_D.db", "SELECT group_concat(NR||DESC, ' ') FROM (SELECT * FROM data ORDER BY NR)",
            "0Information 1Warning 2Danger");
        // Image tables: one row per record slot, NR 0 .. room - 1.
        const QList<QPair<const char *, int>> images = {
            {"AXOPRO.db", 64}, {"AXOARE.db", 32}, {"AXOTIM.db", 32}, {"AXOCOD.db", 10}, {"AXOLIC.db", 15}, {"AXOACC.db", 32},
            {"AXOZON.db", 32}, {"AXOSEN.db", 10}, {"AXOREL.db", 10}, {"AXOSCH.db", 32}, {"AXOHL1.db", 4}, {"AXOHL2.db", 3},
        };
        for (const auto &[file, room] : images) {
            QTest::newRow(file) << QString::fromLatin1(file)
                                << QStringLiteral("SELECT min(NR)||'-'||max(NR)||' '||count(DISTINCT NR) FROM data")
                                << QStringLiteral("0-%1 %2").arg(room - 1).arg(room);
        }
    }
    void initialRows()
    {
        QFETCH(QString, file);
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(queryText(file, sql), expected);
    }

    // Fields whose kind and width other parts of the program depend on
    // (user record widths, central unit display texts, time texts).
    void fieldKinds_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("width");
        const int text = int(FieldKind::Text);
        const int integer = int(FieldKind::Integer);
        const int boolean = int(FieldKind::Boolean);
        const int autoInc = int(FieldKind::AutoInc);
        QTest::newRow("user key") << "M_USERS.db" << "AUTO_PK" << autoInc << 0;
        QTest::newRow("user number") << "M_USERS.db" << "N_USUARIO" << text << 5;
        QTest::newRow("user name") << "M_USERS.db" << "NOMBRE" << text << 16;
        QTest::newRow("user code") << "M_USERS.db" << "CODIGO" << text << 10;
        QTest::newRow("user profile") << "M_USERS.db" << "PERFIL" << integer << 0;
        QTest::newRow("user position") << "M_USERS.db" << "MEM_POS_RELATIVA" << integer << 0;
        QTest::newRow("user trades") << "M_USERS.db" << "DESB" << boolean << 0;
        QTest::newRow("access description") << "M_ACCESS.db" << "DESCRIPCION" << text << 16;
        QTest::newRow("access pin start") << "M_ACCESS.db" << "CODIGO_PIN_DE" << text << 4;
        QTest::newRow("direction") << "M_ZONES_AUX.db" << "E_S_D" << text << 1;
        QTest::newRow("timetable name") << "M_TIMETABLES.db" << "NOMBRE" << text << 100;
        QTest::newRow("holiday day") << "M_HDAY.db" << "NUMERO" << autoInc << 0;
        QTest::newRow("lift number") << "M_LIFTS.db" << "NUMERO" << autoInc << 0;
        QTest::newRow("phone") << "M_PHONES.db" << "PHONE3" << text << 16;
        QTest::newRow("control panel block") << "M_CODES.db" << "BLOQUE" << text << 19;
        QTest::newRow("rule message") << "M_EVENTS2.db" << "Nombre" << text << 50;
        QTest::newRow("log order") << "M_Rec.db" << "ORDEN" << autoInc << 0;
        QTest::newRow("session key") << "Oprlog.db" << "ID_K" << autoInc << 0;
    }
    void fieldKinds()
    {
        QFETCH(QString, file);
        QFETCH(QString, field);
        QFETCH(int, kind);
        QFETCH(int, width);
        const TableDef def = TableFile::readDefinition(templatePath(file));
        const FieldDef *declared = findField(def, field);
        QVERIFY2(declared, qPrintable(field + QStringLiteral(" is missing")));
        QCOMPARE(declared->name, field);
        QCOMPARE(int(declared->kind), kind);
        QCOMPARE(declared->width, width);
    }

    // A compile copies installation texts into image fields unchanged; an
    // image field narrower than its source would make the compile fail.
    void imageFieldsHoldTheirSource_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("imageField");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("sourceField");
        const auto pair = [](const char *image, const char *imageField, const char *source, const char *sourceField) {
            QTest::newRow(qPrintable(QStringLiteral("%1.%2").arg(QLatin1String(image), QLatin1String(imageField))))
                << QString::fromLatin1(image) << QString::fromLatin1(imageField) << QString::fromLatin1(source)
                << QString::fromLatin1(sourceField);
        };
        pair("AXOPRO.db", "DESC", "M_PROFILES.db", "DESCRIPCION");
        pair("AXOARE.db", "DESC", "M_AREAS.db", "DESCRIPCION");
        pair("AXOTIM.db", "DESC", "M_TIMETABLES.db", "NOMBRE");
        pair("AXOTIM.db", "HOUR_B_END", "M_TIMETABLES.db", "HORA_FIN2");
        pair("AXOCOD.db", "FLOOR", "M_LIFT_CODES.db", "PISO");
        pair("AXOCOD.db", "RELAY", "M_LIFT_CODES.db", "PL_NR");
        pair("AXOLIC.db", "DESC", "M_LICENSES.db", "DESCRIPCION");
        pair("AXOLIC.db", "REL5", "M_LICENSES.db", "PL_NR5");
        pair("AXOACC.db", "DESC", "M_ACCESS.db", "DESCRIPCION");
        pair("AXOACC.db", "DOOR_RELAY", "M_ACCESS.db", "ABREPUERTAS_R_NUM");
        pair("AXOACC.db", "SUP_ALARM", "M_ACCESS.db", "SENSOR_PUERTA_ABIERTA_REL");
        pair("AXOACC.db", "TRADE_END", "M_ACCESS.db", "TRADE_END");
        pair("AXOACC.db", "PIN_START", "M_ACCESS.db", "CODIGO_PIN_DE");
        pair("AXOACC.db", "LIFT_OFFSET", "M_ACCESS.db", "LIFT_GRUPO");
        pair("AXOZON.db", "DESC", "M_ZONES.db", "DESCRIPCION");
        pair("AXOZON.db", "R_MAX", "M_ZONES.db", "RELE");
        pair("AXOSEN.db", "DESC", "M_SENSOR.db", "DESCRIPCION");
        pair("AXOSEN.db", "N1", "M_SENSOR.db", "N1");
        pair("AXOSEN.db", "N3", "M_SENSOR.db", "N3");
        pair("AXOREL.db", "DESC", "M_RELAY.db", "DESCRIPCION");
        pair("AXOSCH.db", "DESC", "M_SCHEDULER.db", "DESCRIPCION");
        pair("AXOSCH.db", "START", "M_SCHEDULER.db", "START");
        pair("AXOHL1.db", "DATE5", "M_HDAY.db", "DIA");
        pair("AXOHL2.db", "END", "M_HPER.db", "END");
        pair("AXOUSR.db", "NAME", "M_USERS.db", "NOMBRE");
        pair("AXOUSR.db", "FLOOR", "M_USERS.db", "PISO_USR");
        pair("AXOUSR.db", "DOOR", "M_USERS.db", "PTA_PIN");
        pair("AXOUSR.db", "CODE", "M_USERS.db", "CODIGO");
        pair("AXOUSR.db", "USER", "M_USERS.db", "N_USUARIO");
    }
    void imageFieldsHoldTheirSource()
    {
        QFETCH(QString, image);
        QFETCH(QString, imageField);
        QFETCH(QString, source);
        QFETCH(QString, sourceField);
        const TableDef imageDef = TableFile::readDefinition(templatePath(image));
        const TableDef sourceDef = TableFile::readDefinition(templatePath(source));
        const FieldDef *to = findField(imageDef, imageField);
        const FieldDef *from = findField(sourceDef, sourceField);
        QVERIFY2(to, qPrintable(imageField + QStringLiteral(" is missing")));
        QVERIFY2(from, qPrintable(sourceField + QStringLiteral(" is missing")));
        QCOMPARE(int(to->kind), int(FieldKind::Text));
        QCOMPARE(int(from->kind), int(FieldKind::Text));
        QVERIFY2(to->width >= from->width,
                 qPrintable(QStringLiteral("%1 holds %2 characters, %3 up to %4").arg(imageField).arg(to->width).arg(sourceField).arg(from->width)));
    }
};

QTEST_GUILESS_MAIN(TestTemplates)
#include "tst_templates.moc"
