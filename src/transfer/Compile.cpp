#include "transfer/Compile.h"

#include "frame/Lang.h"
#include "platform/Paths.h"
#include "store/TableFamilies.h"
#include "store/engine/EngineError.h"
#include "store/engine/Query.h"
#include "store/engine/Table.h"

#include <QHash>

#include <algorithm>

#include <stdexcept>

namespace Compile {

namespace {

using Row = QVariantMap; // an installation row, keyed by upper-case field name

QString table(const QString &prefix, const QString &suffix) { return prefix + suffix + QStringLiteral(".db"); }

// Every row of an installation table in key order.
QList<Row> readAll(const QString &folder, const QString &file)
{
    Table t(folder, file);
    t.open();
    QStringList names = t.fieldNames();
    QList<Row> rows;
    rows.reserve(t.recordCount());
    for (t.first(); !t.eof(); t.next()) {
        Row row;
        for (const QString &name : names)
            row.insert(name.toUpper(), t.value(name));
        rows << row;
    }
    t.close();
    return rows;
}

bool empty(const QVariant &v) { return !v.isValid() || v.isNull() || v.toString().isEmpty(); }

// A text value, null when empty.
QVariant textOf(const QVariant &v) { return empty(v) ? QVariant() : QVariant(v.toString()); }
QVariant textOf(const Row &r, const char *field) { return textOf(r.value(QLatin1String(field))); }
QVariant padOf(const Row &r, const char *field, int width) { return zeroFilled(r.value(QLatin1String(field)), width); }
bool flagOf(const Row &r, const char *field)
{
    const QVariant v = r.value(QLatin1String(field));
    return !empty(v) && v.toBool();
}

void setText(Table &t, const char *field, const QVariant &v) { t.setValue(QLatin1String(field), textOf(v)); }
void setFlag(Table &t, const char *field, bool v) { t.setBoolean(QLatin1String(field), v); }
void clear(Table &t, const char *field) { t.setNull(QLatin1String(field)); }

using Fill = std::function<void(Table &image, const Row *source)>;

// Opens an image table as scratch. An image file that cannot be read (spoiled
// by a power cut during an earlier compile) is replaced by a fresh copy of its
// template, since every compile rebuilds it whole.
void openImage(Table &image, const QString &folder, const QString &file)
{
    try {
        image.open();
    } catch (const EngineError &e) {
        if (e.code() != EngineError::NotATable)
            throw;
        const auto &families = TableFamilies::blockTables();
        const auto family = std::find_if(families.begin(), families.end(), [&](const TableFamilies::Family &f) {
            return file.endsWith(f.suffix + QStringLiteral(".db"), Qt::CaseInsensitive);
        });
        if (family == families.end())
            throw;
        const QString prefix = file.left(file.size() - family->suffix.size() - 3);
        TableFamilies::replaceFromTemplate(folder, prefix, family->suffix, Paths::systemDir(), family->templ);
        image.open();
    }
    image.setScratch();
}

// The image table of the block opened, in one transaction; `body` does the
// work; commit, or rollback and rethrow.
Outcome inTransaction(const QString &folder, const QString &file, const std::function<int(Table &)> &body)
{
    Outcome outcome;
    Table image(folder, file);
    try {
        openImage(image, folder, file);
        image.beginTransaction();
        try {
            outcome.rows = body(image);
            image.commit();
        } catch (...) {
            if (image.state() == Table::State::Edit || image.state() == Table::State::Insert)
                image.cancel();
            image.rollback();
            throw;
        }
        image.close();
        outcome.ok = true;
    } catch (const EngineError &e) {
        outcome.error = e.text();
    } catch (const std::exception &e) {
        outcome.error = QString::fromLocal8Bit(e.what());
    }
    return outcome;
}

// The fixed-row compile: every image row in key order is edited from the
// installation row whose `lookup` equals its NR, or cleared.
Outcome compileFixed(const QString &folder, const QString &prefix, const QString &imageSuffix,
                     const QString &sourceSuffix, const char *lookup, const Fill &fill, const Progress &progress)
{
    QHash<qint64, Row> byNumber;
    try {
        for (const Row &row : readAll(folder, table(prefix, sourceSuffix))) {
            const QVariant key = row.value(QLatin1String(lookup));
            bool ok = false;
            const qint64 n = key.toLongLong(&ok);
            if (ok && !byNumber.contains(n))
                byNumber.insert(n, row);
        }
    } catch (const EngineError &e) {
        return Outcome{false, 0, e.text()};
    }
    return inTransaction(folder, table(prefix, imageSuffix), [&](Table &image) {
        const int total = image.recordCount();
        if (progress.started)
            progress.started(total);
        int done = 0;
        for (image.first(); !image.eof(); image.next()) {
            image.edit();
            const qint64 nr = image.integer(QStringLiteral("NR"));
            const auto found = byNumber.constFind(nr);
            try {
                fill(image, found == byNumber.constEnd() ? nullptr : &found.value());
            } catch (const EngineError &e) {
                throw EngineError(e.code(), QStringLiteral("%1 NR %2: %3").arg(imageSuffix).arg(nr).arg(e.text()));
            }
            image.post();
            ++done;
            if (progress.step)
                progress.step(done);
        }
        return done;
    });
}

// --- the field rules of each kind --------------------------------------------

void fillProfile(Table &t, const Row *s)
{
    static const char *const areas[] = {"A1", "A2", "A3"};
    static const char *const times[] = {"T1", "T2", "T3"};
    static const char *const srcAreas[] = {"P1GZ", "P2GZ", "P3GZ"};
    static const char *const srcTimes[] = {"P1H", "P2H", "P3H"};
    setText(t, "DESC", s ? textOf(*s, "DESCRIPCION") : QVariant());
    for (int k = 0; k < 3; ++k) {
        t.setValue(QLatin1String(areas[k]), s ? padOf(*s, srcAreas[k], 2) : QVariant());
        t.setValue(QLatin1String(times[k]), s ? padOf(*s, srcTimes[k], 2) : QVariant());
    }
}

void fillArea(Table &t, const Row *s)
{
    setText(t, "DESC", s ? textOf(*s, "DESCRIPCION") : QVariant());
    for (int n = 0; n < 32; ++n) {
        const QByteArray z = "Z" + QByteArray::number(n);
        setFlag(t, z.constData(), s && flagOf(*s, z.constData()));
    }
}

void fillTimetable(Table &t, const Row *s)
{
    static const char *const days[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    static const char *const src[] = {"D1", "D2", "D3", "D4", "D5", "D6", "D0"};
    setText(t, "DESC", s ? textOf(*s, "NOMBRE") : QVariant());
    for (int k = 0; k < 7; ++k)
        setFlag(t, days[k], s && flagOf(*s, src[k]));
    setText(t, "HOUR_A_START", s ? textOf(*s, "HORA_INI1") : QVariant());
    setText(t, "HOUR_A_END", s ? textOf(*s, "HORA_FIN1") : QVariant());
    setText(t, "HOUR_B_START", s ? textOf(*s, "HORA_INI2") : QVariant());
    setText(t, "HOUR_B_END", s ? textOf(*s, "HORA_FIN2") : QVariant());
}

void fillLiftCode(Table &t, const Row *s)
{
    t.setValue(QStringLiteral("FLOOR"), s ? padOf(*s, "PISO", 2) : QVariant());
    setText(t, "RELAY", s ? textOf(*s, "PL_NR") : QVariant());
}

void fillLicence(Table &t, const Row *s)
{
    setText(t, "DESC", s ? textOf(*s, "DESCRIPCION") : QVariant());
    for (int k = 1; k <= 5; ++k) {
        const QByteArray rel = "REL" + QByteArray::number(k);
        const QByteArray src = "PL_NR" + QByteArray::number(k);
        setText(t, rel.constData(), s ? textOf(*s, src.constData()) : QVariant());
    }
}

void fillAccess(Table &t, const Row *s)
{
    if (!s) {
        for (const char *f : {"DESC", "TYPE", "DOOR_RELAY", "DOOR_TIME", "SUP_TIME", "SUP_ALARM", "TRADE_START",
                              "TRADE_END", "PIN_START", "PIN_END", "LIFT_OFFSET", "TIMETABLE"})
            clear(t, f);
        for (const char *f : {"DOOR_INV", "OUT_BUTTON", "REL_ENABLE", "LIFT_USER", "LIFT_VISIT", "ENABLED"})
            setFlag(t, f, false);
        setFlag(t, "OPEN_APART", true);
        return;
    }
    const Row &r = *s;
    setText(t, "DESC", textOf(r, "DESCRIPCION"));
    // TYPE is left as it is: the access type is not part of the record.
    setText(t, "DOOR_RELAY", textOf(r, "ABREPUERTAS_R_NUM"));
    t.setValue(QStringLiteral("DOOR_TIME"), padOf(r, "ABREPUERTAS_R_TEMP", 3));
    setFlag(t, "DOOR_INV", false);
    setFlag(t, "OUT_BUTTON", flagOf(r, "BOTON_SALIDA"));
    setFlag(t, "OPEN_APART", flagOf(r, "APERTURA_PUERTA_VIVIENDA"));
    t.setValue(QStringLiteral("SUP_TIME"), padOf(r, "SENSOR_PUERTA_ABIERTA_T", 3));
    setText(t, "SUP_ALARM", textOf(r, "SENSOR_PUERTA_ABIERTA_REL"));
    setText(t, "TRADE_START", textOf(r, "TRADE_START"));
    setText(t, "TRADE_END", textOf(r, "TRADE_END"));
    setText(t, "PIN_START", textOf(r, "CODIGO_PIN_DE"));
    setText(t, "PIN_END", textOf(r, "CODIGO_PIN_HASTA"));
    setFlag(t, "REL_ENABLE", flagOf(r, "HABILITACION_SENSOR_RELE"));
    const QVariant liftGroup = textOf(r, "LIFT_GRUPO");
    const bool lift = liftGroup.isValid();
    setText(t, "LIFT_OFFSET", liftGroup);
    setFlag(t, "LIFT_USER", lift && flagOf(r, "LIFT_USR"));
    setFlag(t, "LIFT_VISIT", lift && flagOf(r, "LIFT_VISIT"));
    t.setValue(QStringLiteral("TIMETABLE"), padOf(r, "HORARIO", 2));
    setFlag(t, "ENABLED", false);
}

void fillZone(Table &t, const Row *s)
{
    if (s && !empty(s->value(QStringLiteral("DESCRIPCION")))) {
        setText(t, "DESC", textOf(*s, "DESCRIPCION"));
        t.setValue(QStringLiteral("MAX"), padOf(*s, "CAPACIDAD", 5));
        setText(t, "R_MAX", textOf(*s, "RELE"));
    } else {
        clear(t, "DESC");
        clear(t, "MAX");
        clear(t, "R_MAX");
    }
}

void fillSensor(Table &t, const Row *s)
{
    if (!s) {
        for (const char *f : {"DESC", "TYPE", "N1", "N2", "N3", "N4"})
            clear(t, f);
        setFlag(t, "UNIT", false);
        return;
    }
    setText(t, "DESC", textOf(*s, "DESCRIPCION"));
    setText(t, "TYPE", textOf(*s, "TIPO"));
    setText(t, "N1", textOf(*s, "N1"));
    t.setValue(QStringLiteral("N2"), padOf(*s, "N2", 3));
    t.setValue(QStringLiteral("N3"), padOf(*s, "N3", 2));
    const QVariant n4 = padOf(*s, "TIEMPO", 3);
    t.setValue(QStringLiteral("N4"), n4.isNull() ? QVariant(QStringLiteral("000")) : n4);
    setFlag(t, "UNIT", flagOf(*s, "MINUTOS"));
}

void fillRelayGroup(Table &t, const Row *s)
{
    if (!s) {
        clear(t, "DESC");
        clear(t, "TIME");
        setFlag(t, "VALID", false);
        t.setText(QStringLiteral("INIT"), QStringLiteral("0"));
        return;
    }
    setText(t, "DESC", textOf(*s, "DESCRIPCION"));
    setFlag(t, "VALID", flagOf(*s, "VALIDO"));
    // A group without a time sends none; a time kept from an earlier compile
    // would reach the unit after the operator removed it.
    t.setValue(QStringLiteral("TIME"), padOf(*s, "TIEMPO", 3));
    const bool on = s->value(QStringLiteral("ESTADO")).toString().trimmed().toUpper() == QLatin1String("ON");
    t.setText(QStringLiteral("INIT"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void fillScheduler(Table &t, const Row *s)
{
    static const char *const days[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
    static const char *const src[] = {"LU", "MA", "MI", "JU", "VI", "SA", "DO"};
    if (!s) {
        for (const char *f : {"DESC", "DEVICE", "START", "END"})
            clear(t, f);
        for (const char *f : days)
            setFlag(t, f, false);
        setFlag(t, "HOLIDAY", true);
        setFlag(t, "SINCRO", true);
        return;
    }
    setText(t, "DESC", textOf(*s, "DESCRIPCION"));
    // An entry without a device sends none (not the device of an earlier compile).
    const QVariant device = textOf(*s, "DISPOSITIVO");
    if (device.isValid()) {
        const bool relay = isRelayKind(s->value(QStringLiteral("TIPO_DISPOSITIVO")).toString());
        t.setText(QStringLiteral("DEVICE"), (relay ? QStringLiteral("B") : QStringLiteral("A")) + device.toString());
    } else {
        clear(t, "DEVICE");
    }
    setText(t, "START", textOf(*s, "START"));
    setText(t, "END", textOf(*s, "END"));
    for (int k = 0; k < 7; ++k)
        setFlag(t, days[k], flagOf(*s, src[k]));
    setFlag(t, "HOLIDAY", flagOf(*s, "HOLIDAYS"));
    setFlag(t, "SINCRO", flagOf(*s, "SINCRO"));
}

// Holiday days five to a row of _AXOHL1 (20 at most), periods one to a row
// of _AXOHL2 (3 at most); both image tables in one transaction each.
Outcome compileHolidays(const QString &folder, const QString &prefix, const Progress &progress)
{
    QList<Row> days, periods;
    try {
        days = readAll(folder, table(prefix, QStringLiteral("_Hday")));
        periods = readAll(folder, table(prefix, QStringLiteral("_Hper")));
    } catch (const EngineError &e) {
        return Outcome{false, 0, e.text()};
    }
    if (progress.started)
        progress.started(int(days.size() + periods.size()));
    int done = 0;
    Outcome first = inTransaction(folder, table(prefix, QStringLiteral("_AXOHL1")), [&](Table &image) {
        int index = 0;
        int rows = 0;
        for (image.first(); !image.eof(); image.next(), ++rows) {
            image.edit();
            for (int k = 1; k <= 5; ++k) {
                const QString field = QStringLiteral("DATE%1").arg(k);
                QVariant day;
                if (index < days.size()) {
                    day = textOf(days[index], "DIA");
                    ++index;
                    if (progress.step)
                        progress.step(++done);
                }
                image.setValue(field, day);
            }
            image.post();
        }
        return rows;
    });
    if (!first.ok)
        return first;
    Outcome second = inTransaction(folder, table(prefix, QStringLiteral("_AXOHL2")), [&](Table &image) {
        int index = 0;
        int rows = 0;
        for (image.first(); !image.eof(); image.next(), ++rows) {
            image.edit();
            const Row *p = index < periods.size() ? &periods[index] : nullptr;
            setText(image, "START", p ? textOf(*p, "START") : QVariant());
            setText(image, "END", p ? textOf(*p, "END") : QVariant());
            if (p && progress.step)
                progress.step(++done);
            ++index;
            image.post();
        }
        return rows;
    });
    if (second.ok)
        second.rows += first.rows;
    return second;
}

// The `SENSOR` of a user row: "B" + relay, "A" + sensor, or the apartment.
QVariant userDevice(const QVariant &device, const QString &kind)
{
    if (empty(device))
        return QVariant();
    if (isRelayKind(kind))
        return QString(QLatin1Char('B') + zeroFilled(device, 3).toString());
    if (isSensorKind(kind))
        return QString(QLatin1Char('A') + zeroFilled(device, 3).toString());
    if (isApartmentKind(kind))
        return zeroFilled(device, 4);
    return QVariant();
}

Outcome compileUsers(const QString &folder, const QString &prefix, const Progress &progress)
{
    QList<Row> users;
    try {
        users = readAll(folder, table(prefix, QStringLiteral("_Users")));
    } catch (const EngineError &e) {
        return Outcome{false, 0, e.text()};
    }
    return inTransaction(folder, table(prefix, QStringLiteral("_AXOUSR")), [&](Table &image) {
        if (progress.started)
            progress.started(int(users.size()));
        image.emptyTable();
        int done = 0;
        for (const Row &u : users) {
            image.append();
            try {
                image.setValue(QStringLiteral("AUTO_PK_EN_PLUS"), u.value(QStringLiteral("AUTO_PK")));
                setText(image, "NAME", textOf(u, "NOMBRE"));
                setText(image, "FLOOR", textOf(u, "PISO_USR"));
                setText(image, "DOOR", textOf(u, "PTA_PIN"));
                const QVariant code = textOf(u, "CODIGO");
                image.setText(QStringLiteral("CODE"), code.isValid() ? code.toString() : QStringLiteral("FFFFFF"));
                const QVariant level = u.value(QStringLiteral("PERFIL"));
                image.setValue(QStringLiteral("LEVEL"), !empty(level) && level.toInt() == 127 ? QVariant() : zeroFilled(level, 3));
                image.setValue(QStringLiteral("LIFT"), padOf(u, "ASCENSOR", 2));
                setFlag(image, "UNLOCK", flagOf(u, "DESB"));
                image.setValue(QStringLiteral("SENSOR"), userDevice(u.value(QStringLiteral("DISPOSITIVO")),
                                                                      u.value(QStringLiteral("TIPO_DISPOSITIVO")).toString()));
                const QVariant number = textOf(u, "N_USUARIO");
                image.setValue(QStringLiteral("USER"), number.toString() == QLatin1String("00000") ? QVariant() : number);
                clear(image, "TIME");
                clear(image, "MEM_POS_RELATIVA");
                image.post();
                ++done;
            } catch (const EngineError &e) {
                throw EngineError(e.code(), QStringLiteral("_AXOUSR user %1 (%2): %3")
                                                .arg(u.value(QStringLiteral("N_USUARIO")).toString(),
                                                     u.value(QStringLiteral("NOMBRE")).toString(), e.text()));
            }
            if (progress.step)
                progress.step(done);
        }
        return done;
    });
}

bool wordMatches(const QString &deviceKind, const char *key)
{
    const QString kind = deviceKind.trimmed().toUpper();
    return !kind.isEmpty() && kind == Lang::word(QLatin1String(key)).trimmed().toUpper();
}

} // namespace

QVariant zeroFilled(const QVariant &value, int width)
{
    if (empty(value))
        return QVariant();
    QString text = value.toString().trimmed();
    if (text.isEmpty())
        return QVariant();
    if (text.size() < width)
        text = QString(width - text.size(), QLatin1Char('0')) + text;
    return text;
}

bool isRelayKind(const QString &deviceKind) { return wordMatches(deviceKind, "REL"); }
bool isSensorKind(const QString &deviceKind) { return wordMatches(deviceKind, "SEN"); }
bool isApartmentKind(const QString &deviceKind) { return wordMatches(deviceKind, "APA"); }

const QList<Kind> &allKinds()
{
    static const QList<Kind> kinds{Kind::Profiles, Kind::Areas, Kind::Timetables, Kind::LiftCodes,
                                   Kind::LiftLicences, Kind::AccessPoints, Kind::Zones, Kind::Sensors,
                                   Kind::RelayGroups, Kind::Scheduler, Kind::Holidays, Kind::Users};
    return kinds;
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Profiles: return QStringLiteral("profiles");
    case Kind::Areas: return QStringLiteral("areas");
    case Kind::Timetables: return QStringLiteral("timetables");
    case Kind::LiftCodes: return QStringLiteral("lift codes");
    case Kind::LiftLicences: return QStringLiteral("lift licences");
    case Kind::AccessPoints: return QStringLiteral("access points");
    case Kind::Zones: return QStringLiteral("zones");
    case Kind::Sensors: return QStringLiteral("sensors");
    case Kind::RelayGroups: return QStringLiteral("relay groups");
    case Kind::Scheduler: return QStringLiteral("scheduler");
    case Kind::Holidays: return QStringLiteral("holidays");
    case Kind::Users: return QStringLiteral("users");
    }
    return QString();
}

QString imageSuffix(Kind kind)
{
    switch (kind) {
    case Kind::Profiles: return QStringLiteral("_AXOPRO");
    case Kind::Areas: return QStringLiteral("_AXOARE");
    case Kind::Timetables: return QStringLiteral("_AXOTIM");
    case Kind::LiftCodes: return QStringLiteral("_AXOCOD");
    case Kind::LiftLicences: return QStringLiteral("_AXOLIC");
    case Kind::AccessPoints: return QStringLiteral("_AXOACC");
    case Kind::Zones: return QStringLiteral("_AXOZON");
    case Kind::Sensors: return QStringLiteral("_AXOSEN");
    case Kind::RelayGroups: return QStringLiteral("_AXOREL");
    case Kind::Scheduler: return QStringLiteral("_AXOSCH");
    case Kind::Holidays: return QStringLiteral("_AXOHL1");
    case Kind::Users: return QStringLiteral("_AXOUSR");
    }
    return QString();
}

QString sourceSuffix(Kind kind)
{
    switch (kind) {
    case Kind::Profiles: return QStringLiteral("_Profiles");
    case Kind::Areas: return QStringLiteral("_Group_Zones");
    case Kind::Timetables: return QStringLiteral("_Timetables");
    case Kind::LiftCodes: return QStringLiteral("_Lift_Codes");
    case Kind::LiftLicences: return QStringLiteral("_License");
    case Kind::AccessPoints: return QStringLiteral("_Access");
    case Kind::Zones: return QStringLiteral("_Zones");
    case Kind::Sensors: return QStringLiteral("_Sensor");
    case Kind::RelayGroups: return QStringLiteral("_Rele");
    case Kind::Scheduler: return QStringLiteral("_Scheduler");
    case Kind::Holidays: return QStringLiteral("_Hday");
    case Kind::Users: return QStringLiteral("_Users");
    }
    return QString();
}

Outcome run(Kind kind, const QString &folder, const QString &prefix, const Progress &progress)
{
    const QString image = imageSuffix(kind);
    const QString source = sourceSuffix(kind);
    switch (kind) {
    case Kind::Profiles: return compileFixed(folder, prefix, image, source, "NUMERO_PERFIL", fillProfile, progress);
    case Kind::Areas: return compileFixed(folder, prefix, image, source, "NUMERO", fillArea, progress);
    case Kind::Timetables: return compileFixed(folder, prefix, image, source, "NUMERO", fillTimetable, progress);
    case Kind::LiftCodes: return compileFixed(folder, prefix, image, source, "NUMERO", fillLiftCode, progress);
    case Kind::LiftLicences: return compileFixed(folder, prefix, image, source, "NUMERO", fillLicence, progress);
    case Kind::AccessPoints: return compileFixed(folder, prefix, image, source, "NUMERO", fillAccess, progress);
    case Kind::Sensors: return compileFixed(folder, prefix, image, source, "GRUPO", fillSensor, progress);
    case Kind::RelayGroups: return compileFixed(folder, prefix, image, source, "GRUPO", fillRelayGroup, progress);
    case Kind::Scheduler: return compileFixed(folder, prefix, image, source, "NUMERO", fillScheduler, progress);
    case Kind::Holidays: return compileHolidays(folder, prefix, progress);
    case Kind::Users: return compileUsers(folder, prefix, progress);
    case Kind::Zones: {
        // The zone membership, k-th access point row of a zone (in access
        // point order) to the field Akk of that zone.
        QHash<qint64, QList<QString>> directions;
        try {
            Query q(folder);
            q.setSql(QStringLiteral("Select N_ZONA, ACCESO, E_S_D from \"%1\" Order by N_ZONA, ACCESO")
                         .arg(table(prefix, QStringLiteral("_Zones_aux"))));
            q.open();
            for (; !q.eof(); q.next()) {
                const QString d = q.text(QStringLiteral("E_S_D")).trimmed().toUpper();
                QString letter;
                if (d == QLatin1String("E"))
                    letter = QStringLiteral("I");
                else if (d == QLatin1String("S"))
                    letter = QStringLiteral("O");
                else if (d == QLatin1String("D"))
                    letter = QStringLiteral("D");
                directions[q.value(QStringLiteral("N_ZONA")).toLongLong()] << letter;
            }
        } catch (const EngineError &e) {
            return Outcome{false, 0, e.text()};
        }
        return compileFixed(folder, prefix, image, source, "N_ZONA", [&](Table &t, const Row *s) {
            fillZone(t, s);
            const QList<QString> letters = directions.value(t.integer(QStringLiteral("NR")));
            for (int k = 0; k < 32; ++k) {
                const QString field = QStringLiteral("A%1").arg(k, 2, 10, QLatin1Char('0'));
                t.setValue(field, k < letters.size() && !letters[k].isEmpty() ? QVariant(letters[k]) : QVariant());
            }
        }, progress);
    }
    }
    return Outcome{false, 0, QStringLiteral("unknown compile kind")};
}

ImageRow PREPARA_PARA_AXOUSR(const QString &folder, const QString &prefix, const ScreenUser &user)
{
    auto numberByDescription = [&](const QString &suffix, const char *numberField, const QString &description) {
        Table t(folder, table(prefix, suffix));
        t.open();
        const bool found = t.locate({QStringLiteral("DESCRIPCION")}, {description});
        const QVariant number = found ? t.value(QLatin1String(numberField)) : QVariant();
        t.close();
        if (!found)
            throw std::invalid_argument(QStringLiteral("%1: no row \"%2\"").arg(suffix, description).toStdString());
        return number;
    };

    ImageRow row;
    row.set(QStringLiteral("AUTO_PK_EN_PLUS"), user.autoPk);
    row.set(QStringLiteral("NAME"), textOf(user.name));
    row.set(QStringLiteral("FLOOR"), textOf(user.floor));
    row.set(QStringLiteral("DOOR"), textOf(user.door));
    row.set(QStringLiteral("CODE"), user.code.isEmpty() ? QStringLiteral("FFFFFF") : user.code);
    if (user.profile.trimmed().isEmpty()) {
        row.set(QStringLiteral("LEVEL"), QStringLiteral("127"));
    } else {
        const QVariant number = numberByDescription(QStringLiteral("_Profiles"), "NUMERO_PERFIL", user.profile);
        row.set(QStringLiteral("LEVEL"), zeroFilled(number, 3));
    }
    row.set(QStringLiteral("LIFT"), user.liftLicence.trimmed().isEmpty()
                                        ? QVariant()
                                        : zeroFilled(numberByDescription(QStringLiteral("_License"), "NUMERO", user.liftLicence), 2));
    row.set(QStringLiteral("UNLOCK"), user.unlock);
    row.set(QStringLiteral("SENSOR"), userDevice(textOf(user.device), user.deviceKind));
    row.set(QStringLiteral("USER"), zeroFilled(textOf(user.userNumber), 5));
    row.set(QStringLiteral("TIME"), QVariant());
    row.set(QStringLiteral("MEM_POS_RELATIVA"), QVariant());

    Table image(folder, table(prefix, QStringLiteral("_AXOUSR")));
    openImage(image, folder, table(prefix, QStringLiteral("_AXOUSR")));
    image.beginTransaction();
    try {
        image.emptyTable();
        image.append();
        for (auto it = row.values().constBegin(); it != row.values().constEnd(); ++it)
            image.setValue(it.key(), it.value());
        image.post();
        image.commit();
    } catch (...) {
        if (image.state() != Table::State::Browse)
            image.cancel();
        image.rollback();
        throw;
    }
    image.close();
    return row;
}

} // namespace Compile
