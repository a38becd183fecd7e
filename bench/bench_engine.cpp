// The table engine against SQLite used directly for the same work:
// (a) posting 1020 user rows in one transaction, (b) reading them all in
// name order, (c) opening a table, reading its first row and closing it.
#include "store/engine/Table.h"
#include "store/engine/TableFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <functional>

namespace {

constexpr int kRows = 1020;

TableDef usersDef(const QString &name)
{
    TableDef def;
    def.fileName = name;
    def.fields = {intField("NUMERO", true), textField("NOMBRE", 40, true), textField("CODIGO", 10), intField("PERFIL"),
                  boolField("DESB"), textField("DISPOSITIVO", 10), boolField("ES_USR")};
    def.primaryKey = {QStringLiteral("NUMERO")};
    def.indexes = {IndexDef{QStringLiteral("I_NOMBRE"), {QStringLiteral("NOMBRE")}, false}};
    return def;
}

QString nameOf(int i) { return QStringLiteral("User %1 Surname").arg((i * 7919) % 100000, 5, 10, QLatin1Char('0')); }

sqlite3 *openRaw(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 5000);
    return db;
}

// Best of several runs, in microseconds.
double best(int runs, const std::function<void()> &setup, const std::function<void()> &work)
{
    double result = 1e18;
    for (int r = 0; r < runs; ++r) {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        result = std::min(result, timer.nsecsElapsed() / 1000.0);
    }
    return result;
}

void report(const char *what, double engine, double raw)
{
    std::printf("%-44s engine %10.1f us   raw %10.1f us   ratio %5.2f\n", what, engine, raw, engine / raw);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QString enginePath = folder + QStringLiteral("E_Users.db");
    const QString rawPath = folder + QStringLiteral("R_Users.db");
    auto fresh = [&](const QString &path) {
        QFile::remove(path);
        TableFile::create(path, usersDef(QFileInfo(path).fileName()));
    };
    qint64 sink = 0;

    // (a) posting
    const double postEngine = best(3, [&] { fresh(enginePath); }, [&] {
        Table t(folder, QStringLiteral("E_Users.db"));
        t.open();
        t.beginTransaction();
        for (int i = 0; i < kRows; ++i) {
            t.append();
            t.setInteger(QStringLiteral("NUMERO"), i);
            t.setText(QStringLiteral("NOMBRE"), nameOf(i));
            t.setText(QStringLiteral("CODIGO"), QString::number(100000 + i));
            t.setInteger(QStringLiteral("PERFIL"), 127);
            t.setBoolean(QStringLiteral("DESB"), false);
            t.setText(QStringLiteral("DISPOSITIVO"), QStringLiteral("0"));
            t.setBoolean(QStringLiteral("ES_USR"), true);
            t.post();
        }
        t.commit();
        t.close();
    });
    const double postRaw = best(3, [&] { fresh(rawPath); }, [&] {
        sqlite3 *db = openRaw(rawPath);
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO data (NUMERO,NOMBRE,CODIGO,PERFIL,DESB,DISPOSITIVO,ES_USR) VALUES (?,?,?,?,?,?,?)", -1, &stmt, nullptr);
        for (int i = 0; i < kRows; ++i) {
            const QByteArray name = nameOf(i).toUtf8();
            const QByteArray code = QString::number(100000 + i).toUtf8();
            sqlite3_bind_int64(stmt, 1, i);
            sqlite3_bind_text(stmt, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(stmt, 3, code.constData(), int(code.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(stmt, 4, 127);
            sqlite3_bind_int(stmt, 5, 0);
            sqlite3_bind_text(stmt, 6, "0", 1, SQLITE_TRANSIENT);
            sqlite3_bind_int(stmt, 7, 1);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    report("(a) post 1020 rows in one transaction", postEngine, postRaw);

    // (b) full scan in name order, reading every field
    const auto noSetup = [] {};
    const double scanEngine = best(5, noSetup, [&] {
        Table t(folder, QStringLiteral("E_Users.db"));
        t.setIndexName(QStringLiteral("I_NOMBRE"));
        t.open();
        for (t.first(); !t.eof(); t.next()) {
            sink += t.integer(QStringLiteral("NUMERO")) + t.text(QStringLiteral("NOMBRE")).size() + t.text(QStringLiteral("CODIGO")).size()
                + t.integer(QStringLiteral("PERFIL")) + t.boolean(QStringLiteral("DESB")) + t.text(QStringLiteral("DISPOSITIVO")).size()
                + t.boolean(QStringLiteral("ES_USR"));
        }
        t.close();
    });
    const double scanRaw = best(5, noSetup, [&] {
        sqlite3 *db = openRaw(rawPath);
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM data ORDER BY NOMBRE", -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QVariantList row(7);
            row[0] = qint64(sqlite3_column_int64(stmt, 0));
            row[1] = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
            row[2] = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 2)));
            row[3] = qint64(sqlite3_column_int64(stmt, 3));
            row[4] = sqlite3_column_int(stmt, 4) != 0;
            row[5] = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 5)));
            row[6] = sqlite3_column_int(stmt, 6) != 0;
            sink += row[0].toLongLong() + row[1].toString().size() + row[2].toString().size() + row[3].toLongLong() + row[4].toBool()
                + row[5].toString().size() + row[6].toBool();
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    });
    report("(b) scan 1020 rows in I_NOMBRE order", scanEngine, scanRaw);

    // (c) open + first + close, repeated
    constexpr int kOpens = 200;
    const double openEngine = best(5, noSetup, [&] {
        for (int i = 0; i < kOpens; ++i) {
            Table t(folder, QStringLiteral("E_Users.db"));
            t.open();
            t.first();
            sink += t.integer(QStringLiteral("NUMERO"));
            t.close();
        }
    }) / kOpens;
    const double openRawTime = best(5, noSetup, [&] {
        for (int i = 0; i < kOpens; ++i) {
            sqlite3 *db = openRaw(rawPath);
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(db, "SELECT * FROM data ORDER BY NUMERO", -1, &stmt, nullptr);
            if (sqlite3_step(stmt) == SQLITE_ROW)
                sink += sqlite3_column_int64(stmt, 0);
            sqlite3_finalize(stmt);
            sqlite3_close(db);
        }
    }) / kOpens;
    report("(c) open + first + close (per table)", openEngine, openRawTime);
    std::printf("(checksum %lld)\n", static_cast<long long>(sink));
    return 0;
}
