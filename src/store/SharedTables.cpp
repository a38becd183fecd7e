#include "store/SharedTables.h"

#include "store/StoreTexts.h"
#include "store/TableFamilies.h"
#include "store/engine/EngineError.h"
#include "store/engine/Query.h"
#include "store/engine/Table.h"

#include <QSet>

namespace {

// A transaction on one table file that is rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Table &table) : m_table(table) { m_table.beginTransaction(); }
    ~Transaction()
    {
        if (!m_done) {
            try {
                m_table.rollback();
            } catch (...) {
            }
        }
    }
    void commit()
    {
        m_table.commit();
        m_done = true;
    }

private:
    Table &m_table;
    bool m_done = false;
};

QString file(const QString &prefix, const char *suffix) { return prefix + QLatin1String(suffix); }

// Runs `change` on every row of the table (in edit state) and posts it, in
// one transaction.
void updateEveryRow(const QString &folder, const QString &tableFile, const std::function<void(Table &)> &change)
{
    Table table(folder, tableFile);
    table.open();
    Transaction tx(table);
    for (table.first(); !table.eof(); table.next()) {
        table.edit();
        change(table);
        table.post();
    }
    tx.commit();
}

// Runs one UPDATE or DELETE on a block table. The table's file name is the
// only text placed in the statement; it is built from checked names, which
// never hold a double quote. Values are bound.
int execOn(const QString &folder, const QString &tableFile, const QString &statement,
           const QList<QPair<QString, QVariant>> &values)
{
    if (tableFile.contains(QLatin1Char('"')))
        throw EngineError(EngineError::BadStatement, QStringLiteral("Bad table name: ") + tableFile);
    Query query(folder);
    query.setSql(QString(statement).replace(QStringLiteral("<table>"), QLatin1Char('"') + tableFile + QLatin1Char('"')));
    for (const auto &[name, value] : values)
        query.bind(name, value);
    return query.exec();
}

void emptyTable(const QString &folder, const QString &tableFile)
{
    Table table(folder, tableFile);
    table.open();
    table.emptyTable();
}

} // namespace

namespace SharedTables {

QString zeroFill(const QString &text, int width)
{
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), QLatin1Char('0')) + text;
}

int lowestFreeNumber(const QString &folder, const QString &tableFile, const QString &field, int limit)
{
    Table table(folder, tableFile);
    table.open();
    // Numbers in ascending order; rows with no number are not counted.
    QList<qint64> numbers;
    for (table.first(); !table.eof(); table.next())
        if (!table.isNull(field))
            numbers << table.integer(field);
    std::sort(numbers.begin(), numbers.end());
    int i = 0;
    for (const qint64 n : numbers) {
        if (i >= limit || n > i)
            break;
        if (n == i)
            ++i;
    }
    return i;
}

QString usageTable(const QString &prefix, const QString &side)
{
    return side == QLatin1String("B") ? file(prefix, "_Who_Item.db") : file(prefix, "_Who_ItemS.db");
}

void releaseDeviceUsage(const QString &folder, const QString &prefix, const QString &side, const QString &who,
                        const QString &kind)
{
    execOn(folder, usageTable(prefix, side), QStringLiteral("DELETE FROM <table> WHERE WHO=:who AND ITEM=:kind"),
           {{QStringLiteral("who"), who}, {QStringLiteral("kind"), kind}});
}

int recordDeviceUsage(const QString &folder, const QString &prefix, const QString &side, const QString &device,
                      const QString &kind, const QString &who)
{
    const QString number = zeroFill(device, 3);
    QStringList devices;
    const auto isF = [&](int i) { return number.size() > i && number.at(i).toUpper() == QLatin1Char('F'); };
    if (isF(0)) {
        for (int n = 0; n < 1000; ++n)
            devices << zeroFill(QString::number(n), 3);
    } else if (isF(1)) {
        for (int n = 0; n < 100; ++n)
            devices << number.left(1) + zeroFill(QString::number(n), 2);
    } else if (isF(2)) {
        for (int n = 0; n < 10; ++n)
            devices << number.left(2) + QString::number(n);
    } else {
        devices << number;
    }
    Table table(folder, usageTable(prefix, side));
    table.open();
    Transaction tx(table);
    for (const QString &d : devices) {
        table.append();
        table.setText(QStringLiteral("ITEM"), kind);
        table.setText(QStringLiteral("DEVICE"), d);
        table.setText(QStringLiteral("WHO"), who);
        table.post();
    }
    tx.commit();
    return int(devices.size());
}

RelayGroup relayGroupLookup(const QString &folder, const QString &prefix, const QString &device)
{
    RelayGroup group;
    if (device.isEmpty())
        return group;
    const QString number = zeroFill(device, 3);
    try {
        Table table(folder, file(prefix, "_Rele.db"));
        table.open();
        for (table.first(); !table.eof(); table.next()) {
            if (table.text(QStringLiteral("GRUPO")) != number.left(1))
                continue;
            group.found = true;
            group.time = table.isNull(QStringLiteral("TIEMPO")) ? QStringLiteral("0") : table.text(QStringLiteral("TIEMPO"));
            group.valid = table.boolean(QStringLiteral("VALIDO"));
            group.on = table.text(QStringLiteral("ESTADO")) == QLatin1String("On");
            group.description = table.text(QStringLiteral("DESCRIPCION"));
            break;
        }
    } catch (const EngineError &) {
        return RelayGroup{};
    }
    return group;
}

bool deviceUsedElsewhere(const QString &folder, const QString &prefix, const QString &device, const QString &who,
                         const QString &kind)
{
    const QString number = zeroFill(device, 3);
    try {
        Table table(folder, file(prefix, "_Who_Item.db"));
        table.open();
        for (table.first(); !table.eof(); table.next()) {
            if (table.text(QStringLiteral("DEVICE")) != number)
                continue;
            if (table.text(QStringLiteral("WHO")) != who || table.text(QStringLiteral("ITEM")) != kind)
                return true;
        }
    } catch (const EngineError &) {
        return false;
    }
    return false;
}

void refreshSystemProfileNames(const QString &folder, const QString &prefix)
{
    static const QList<QPair<int, const char *>> names{
        {120, "PRF_SYS_120"}, {125, "PRF_SYS_125"}, {126, "PRF_SYS_126"}, {127, "PRF_SYS_127"}};
    Table table(folder, file(prefix, "_Profiles.db"));
    table.open();
    Transaction tx(table);
    for (table.first(); !table.eof(); table.next()) {
        if (table.isNull(QStringLiteral("NUMERO_PERFIL")))
            continue;
        const qint64 number = table.integer(QStringLiteral("NUMERO_PERFIL"));
        for (const auto &[n, key] : names) {
            if (number != n)
                continue;
            // Opening an installation relabels every block: write only what
            // changed, so an unchanged language costs no disk writes.
            const QString caption = StoreTexts::text(key);
            if (table.text(QStringLiteral("DESCRIPCION")) == caption)
                continue;
            table.edit();
            table.setText(QStringLiteral("DESCRIPCION"), caption);
            table.post();
        }
    }
    tx.commit();
}

void setDefaultZonePicture(const QString &folder, const QString &prefix, const QString &systemFolder)
{
    execOn(folder, file(prefix, "_Zones.db"), QStringLiteral("UPDATE <table> SET SENDA_FOTO=:picture"),
           {{QStringLiteral("picture"), systemFolder + QStringLiteral("Zona.bmp")}});
}

bool hasComponent(const QString &folder, const QString &prefix, const QString &item)
{
    Table table(folder, file(prefix, "_Items_Contiene.db"));
    table.open();
    for (table.first(); !table.eof(); table.next())
        if (table.text(QStringLiteral("ITEM")).compare(item, Qt::CaseInsensitive) == 0
            && !table.isNull(QStringLiteral("CONTIENE")) && table.boolean(QStringLiteral("CONTIENE")))
            return true;
    return false;
}

void setComponent(const QString &folder, const QString &prefix, const QString &item, bool on)
{
    execOn(folder, file(prefix, "_Items_Contiene.db"), QStringLiteral("UPDATE <table> SET CONTIENE=:on WHERE UPPER(ITEM)=:item"),
           {{QStringLiteral("on"), on}, {QStringLiteral("item"), item.toUpper()}});
}

Components::Flags readComponents(const QString &folder, const QString &prefix)
{
    Components::Flags flags{};
    Table table(folder, file(prefix, "_Items_Contiene.db"));
    table.open();
    for (table.first(); !table.eof(); table.next()) {
        if (table.isNull(QStringLiteral("ORDEN")))
            continue;
        const qint64 orden = table.integer(QStringLiteral("ORDEN"));
        if (orden >= 0 && orden < 8)
            flags[size_t(orden)] = !table.isNull(QStringLiteral("CONTIENE")) && table.boolean(QStringLiteral("CONTIENE"));
    }
    return flags;
}

void writeComponents(const QString &folder, const QString &prefix, const Components::Flags &flags)
{
    updateEveryRow(folder, file(prefix, "_Items_Contiene.db"), [&](Table &t) {
        const qint64 orden = t.isNull(QStringLiteral("ORDEN")) ? -1 : t.integer(QStringLiteral("ORDEN"));
        if (orden >= 0 && orden < 8)
            t.setBoolean(QStringLiteral("CONTIENE"), flags[size_t(orden)]);
    });
}

bool canAddHolidayDay(const QString &folder, const QString &prefix)
{
    Table table(folder, file(prefix, "_Hday.db"));
    table.open();
    return table.recordCount() < kMaxHolidayDays;
}

bool canAddHolidayPeriod(const QString &folder, const QString &prefix)
{
    Table table(folder, file(prefix, "_Hper.db"));
    table.open();
    return table.recordCount() < kMaxHolidayPeriods;
}

bool removeComponentTables(const QString &folder, const QString &prefix, const QString &item,
                           const QString &systemFolder)
{
    const Components::Component *component = Components::byItem(item);
    if (!component)
        return false;
    const QString code = QString::fromLatin1(component->item);
    const auto replace = [&](const char *suffix, const char *templ) {
        TableFamilies::replaceFromTemplate(folder, prefix, QLatin1String(suffix), systemFolder, QLatin1String(templ));
    };
    const auto resetHolidays = [&] {
        replace("_Hper", "M_HPER");
        replace("_Hday", "M_HDAY");
    };

    if (code == QLatin1String("ACC")) {
        Table access(folder, file(prefix, "_Access.db"));
        access.open();
        return access.isEmpty();
    }
    if (code == QLatin1String("APT")) {
        if (hasComponent(folder, prefix, QStringLiteral("ACT")))
            updateEveryRow(folder, file(prefix, "_Users.db"), [](Table &t) { t.setBoolean(QStringLiteral("ES_USR"), false); });
        else
            emptyTable(folder, file(prefix, "_Users.db"));
        return true;
    }
    if (code == QLatin1String("LCT")) {
        emptyTable(folder, file(prefix, "_License.db"));
        emptyTable(folder, file(prefix, "_Lift_Codes.db"));
        emptyTable(folder, file(prefix, "_Lift.db"));
        {
            Table times(folder, file(prefix, "_Lift_Time.db"));
            times.open();
            times.first();
            if (!times.eof()) {
                times.edit();
                times.setNull(QStringLiteral("T_USER"));
                times.setNull(QStringLiteral("T_VISITOR"));
                times.post();
            }
        }
        updateEveryRow(folder, file(prefix, "_Access.db"), [](Table &t) {
            t.setBoolean(QStringLiteral("LIFT_USR"), false);
            t.setBoolean(QStringLiteral("LIFT_VISIT"), false);
            t.setNull(QStringLiteral("LIFT_GRUPO"));
        });
        updateEveryRow(folder, file(prefix, "_Users.db"), [](Table &t) { t.setNull(QStringLiteral("ASCENSOR")); });
        return true;
    }
    if (code == QLatin1String("ALA")) {
        emptyTable(folder, file(prefix, "_Sensor.db"));
        updateEveryRow(folder, file(prefix, "_Sensor_Desc.db"), [](Table &t) { t.setNull(QStringLiteral("DESCRIPCION")); });
        return true;
    }
    if (code == QLatin1String("GUD")) {
        emptyTable(folder, file(prefix, "_GUnits.db"));
        return true;
    }
    if (code == QLatin1String("IND")) {
        emptyTable(folder, file(prefix, "_Indoor.db"));
        return true;
    }
    if (code == QLatin1String("SCH")) {
        emptyTable(folder, file(prefix, "_Scheduler.db"));
        if (!hasComponent(folder, prefix, QStringLiteral("ACT")))
            resetHolidays();
        return true;
    }
    // ACT: the access model returns to the state of a new block.
    const bool hasApartments = hasComponent(folder, prefix, QStringLiteral("APT"));
    const bool hasScheduler = hasComponent(folder, prefix, QStringLiteral("SCH"));
    if (hasApartments) {
        updateEveryRow(folder, file(prefix, "_Users.db"), [](Table &t) {
            t.setBoolean(QStringLiteral("ES_USR"), true);
            t.setInteger(QStringLiteral("PERFIL"), 127);
            t.setNull(QStringLiteral("ASCENSOR"));
            t.setBoolean(QStringLiteral("DESB"), false);
            t.setNull(QStringLiteral("CODIGO"));
            t.setNull(QStringLiteral("TIPO_USR"));
            t.setNull(QStringLiteral("DISPOSITIVO"));
            t.setNull(QStringLiteral("TIPO_DISPOSITIVO"));
        });
    } else {
        emptyTable(folder, file(prefix, "_Users.db"));
    }
    replace("_Profiles", "M_PROFILES");
    refreshSystemProfileNames(folder, prefix);
    replace("_Group_Zones", "M_AREAS");
    replace("_Zones", "M_ZONES");
    replace("_Zones_aux", "M_ZONES_AUX");
    setDefaultZonePicture(folder, prefix, systemFolder);
    replace("_Timetables", "M_TIMETABLES");
    if (!hasScheduler)
        resetHolidays();
    updateEveryRow(folder, file(prefix, "_Access.db"), [](Table &t) {
        t.setNull(QStringLiteral("CODIGO_PIN_DE"));
        t.setNull(QStringLiteral("CODIGO_PIN_HASTA"));
        t.setNull(QStringLiteral("TRADE_START"));
        t.setNull(QStringLiteral("TRADE_END"));
        t.setNull(QStringLiteral("HORARIO"));
        t.setBoolean(QStringLiteral("HABILITACION_SENSOR_RELE"), false);
    });
    return true;
}

} // namespace SharedTables
