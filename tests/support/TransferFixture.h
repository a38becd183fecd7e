#pragma once

// A block with every installation table filled, for the compile, send and
// receive tests and benchmarks: installation "Tower", block "North" at CU 5
// in the work folder of a TestFolders.

#include "frame/Lang.h"
#include "platform/Paths.h"
#include "store/InstallationStore.h"
#include "store/engine/Query.h"
#include "store/engine/Table.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <stdexcept>

namespace TransferFixture {

inline const QString kInstallation = QStringLiteral("Tower");
inline const QString kBlock = QStringLiteral("North");
inline constexpr int kCu = 5;
inline QString prefix() { return kInstallation + QStringLiteral("_") + kBlock; }
inline QString file(const QString &suffix) { return prefix() + suffix + QStringLiteral(".db"); }

// Opens the shipped English texts (the device-kind words are compared).
inline void openLanguage()
{
    Lang::open(Lang::filePath(), QStringLiteral("ENGLISH"));
}

// Creates the installation and the empty block (tables from the templates).
inline void createBlock(const QString &work)
{
    openLanguage();
    if (!InstallationStore::createInstallation(work, kInstallation, InstallationStore::Connection::Local, QString(),
                                               QStringLiteral("COM1")).ok)
        throw std::runtime_error("installation not created");
    InstallationStore::NewBlock b;
    b.name = kBlock;
    b.code = kCu;
    b.type = 1;
    b.components.fill(true);
    const StoreOutcome o = InstallationStore::addBlock(work, kInstallation, b);
    if (!o.ok)
        throw std::runtime_error(o.message.toStdString());
}

using Values = QList<QPair<QString, QVariant>>;

// Appends rows to a table in one transaction.
inline void appendRows(const QString &work, const QString &suffix, int count, const std::function<Values(int)> &row)
{
    Table t(work, file(suffix));
    t.open();
    t.beginTransaction();
    for (int i = 0; i < count; ++i) {
        t.append();
        for (const auto &[field, value] : row(i))
            t.setValue(field, value);
        t.post();
    }
    t.commit();
}

// Edits every existing row of a table in one transaction.
inline void editRows(const QString &work, const QString &suffix, const std::function<Values(int, Table &)> &row)
{
    Table t(work, file(suffix));
    t.open();
    t.beginTransaction();
    int i = 0;
    for (t.first(); !t.eof(); t.next(), ++i) {
        t.edit();
        for (const auto &[field, value] : row(i, t))
            t.setValue(field, value);
        t.post();
    }
    t.commit();
}

inline QString two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
inline QString three(int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); }

// Fills every table of the block to its room, with `users` users.
inline void fillBlock(const QString &work, int users)
{
    // Profiles 0..63 besides the system profiles 120..127.
    appendRows(work, QStringLiteral("_Profiles"), 64, [](int i) {
        return Values{{"NUMERO_PERFIL", i}, {"DESCRIPCION", QStringLiteral("Profile %1").arg(i)},
                      {"P1GZ", i % 32}, {"P1H", (i + 1) % 32}, {"P2GZ", (i + 2) % 32}, {"P2H", QVariant()}};
    });
    appendRows(work, QStringLiteral("_Group_Zones"), 32, [](int i) {
        Values v{{"NUMERO", i}, {"DESCRIPCION", QStringLiteral("Area %1").arg(i)}};
        for (int z = 0; z < 32; ++z)
            v << qMakePair(QStringLiteral("Z%1").arg(z), QVariant((z + i) % 3 == 0));
        return v;
    });
    appendRows(work, QStringLiteral("_Timetables"), 32, [](int i) {
        return Values{{"NUMERO", i}, {"NOMBRE", QStringLiteral("Timetable %1").arg(i)}, {"D0", i % 2 == 0},
                      {"D1", true}, {"D5", true}, {"HORA_INI1", QStringLiteral("0800")},
                      {"HORA_FIN1", QStringLiteral("1330")}, {"HORA_INI2", i % 2 ? QVariant() : QVariant(QStringLiteral("1500"))},
                      {"HORA_FIN2", i % 2 ? QVariant() : QVariant(QStringLiteral("1900"))}};
    });
    appendRows(work, QStringLiteral("_Lift_Codes"), 10, [](int i) {
        return Values{{"NUMERO", i}, {"PISO", QString::number(i)}, {"PL_NR", two(i + 10)}};
    });
    appendRows(work, QStringLiteral("_License"), 15, [](int i) {
        return Values{{"NUMERO", i}, {"DESCRIPCION", QStringLiteral("Licence %1").arg(i)}, {"PL_NR1", two(10 + i % 10)},
                      {"PL_NR2", two(11)}};
    });
    appendRows(work, QStringLiteral("_Access"), 32, [](int i) {
        return Values{{"NUMERO", i}, {"DESCRIPCION", QStringLiteral("Door %1").arg(i)}, {"ABREPUERTAS_R_NUM", three(i)},
                      {"ABREPUERTAS_R_TEMP", 5}, {"SENSOR_PUERTA_ABIERTA_T", 30}, {"SENSOR_PUERTA_ABIERTA_REL", QStringLiteral("101")},
                      {"BOTON_SALIDA", true}, {"APERTURA_PUERTA_VIVIENDA", false}, {"HABILITACION_SENSOR_RELE", i % 2 == 0},
                      {"CODIGO_PIN_DE", QStringLiteral("0700")}, {"CODIGO_PIN_HASTA", QStringLiteral("2200")},
                      {"TRADE_START", QStringLiteral("0900")}, {"TRADE_END", QStringLiteral("1200")}, {"HORARIO", i % 32},
                      {"LIFT_GRUPO", i % 4 == 0 ? QVariant(QStringLiteral("200")) : QVariant()}, {"LIFT_USR", true}, {"LIFT_VISIT", true}};
    });
    editRows(work, QStringLiteral("_Zones"), [](int i, Table &) {
        return Values{{"DESCRIPCION", QStringLiteral("Zone %1").arg(i)}, {"CAPACIDAD", 100 + i}, {"RELE", QStringLiteral("105")}};
    });
    editRows(work, QStringLiteral("_Zones_aux"), [](int, Table &t) {
        const int zone = int(t.integer(QStringLiteral("N_ZONA")));
        const int access = int(t.integer(QStringLiteral("ACCESO")));
        static const char *const letters[] = {"E", "S", "D", "X"};
        return Values{{"E_S_D", QString::fromLatin1(letters[(zone + access) % 4])}};
    });
    appendRows(work, QStringLiteral("_Sensor"), 10, [](int i) {
        return Values{{"GRUPO", i}, {"DESCRIPCION", QStringLiteral("Sensor %1").arg(i)}, {"TIPO", 1 + i % 5},
                      {"TIEMPO", 30}, {"MINUTOS", i % 2 == 1}, {"N1", QStringLiteral("1")}, {"N2", QStringLiteral("12")},
                      {"N3", QStringLiteral("5")}};
    });
    appendRows(work, QStringLiteral("_Rele"), 10, [](int i) {
        return Values{{"GRUPO", i}, {"DESCRIPCION", QStringLiteral("Relays %1").arg(i)}, {"ESTADO", i % 2 ? "On" : "Off"},
                      {"TIEMPO", 5 + i}, {"VALIDO", true}};
    });
    appendRows(work, QStringLiteral("_Scheduler"), 32, [](int i) {
        return Values{{"NUMERO", i}, {"DESCRIPCION", QStringLiteral("Plan %1").arg(i)},
                      {"TIPO_DISPOSITIVO", Lang::word(i % 2 ? QStringLiteral("REL") : QStringLiteral("SEN"))},
                      {"DISPOSITIVO", three(i)}, {"START", QStringLiteral("0800")}, {"END", QStringLiteral("1800")},
                      {"LU", true}, {"VI", true}, {"HOLIDAYS", i % 3 == 0}, {"SINCRO", true}};
    });
    appendRows(work, QStringLiteral("_Hday"), 20, [](int i) {
        return Values{{"DIA", QStringLiteral("%1%2").arg(two(1 + i)).arg(two(1 + i % 12))}};
    });
    appendRows(work, QStringLiteral("_Hper"), 2, [](int i) {
        return Values{{"START", QStringLiteral("01%1").arg(two(7 + i))}, {"END", QStringLiteral("15%1").arg(two(7 + i))}};
    });
    editRows(work, QStringLiteral("_Phones"), [](int i, Table &) {
        return Values{{"PHONE1", QStringLiteral("5550%1").arg(i)}, {"PHONE2", QStringLiteral("5551%1").arg(i)}};
    });
    editRows(work, QStringLiteral("_Msgs"), [](int i, Table &) {
        return Values{{"MESSAGE", QStringLiteral("Message %1").arg(i)}};
    });
    editRows(work, QStringLiteral("_Lift_Time"), [](int, Table &) { return Values{{"T_USER", 25}, {"T_VISITOR", 3}}; });
    appendRows(work, QStringLiteral("_Users"), users, [](int i) {
        return Values{{"N_USUARIO", QStringLiteral("%1").arg(i + 1, 5, 10, QLatin1Char('0'))},
                      {"NOMBRE", QStringLiteral("USER %1").arg(1020 - i, 4, 10, QLatin1Char('0'))},
                      {"CODIGO", QStringLiteral("%1").arg(100000 + i * 7)},
                      {"PERFIL", i % 5 == 0 ? 127 : i % 64},
                      {"ASCENSOR", i % 3 == 0 ? QVariant() : QVariant(i % 15)},
                      {"DESB", i % 2 == 0},
                      {"PTA_PIN", QStringLiteral("%1").arg(i % 100, 4, 10, QLatin1Char('0'))},
                      {"PISO_USR", two(i % 20)},
                      {"TIPO_DISPOSITIVO", i % 4 == 0 ? Lang::word(QStringLiteral("REL")) : QString()},
                      {"DISPOSITIVO", i % 4 == 0 ? QVariant(QStringLiteral("012")) : QVariant()}};
    });
}

} // namespace TransferFixture
