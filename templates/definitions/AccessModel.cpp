// Templates of a block's access model: access points, zones and their
// membership, areas, profiles, timetables, holidays, the scheduler, the
// block's components and the device usage tables.
#include "definitions/DefinitionHelpers.h"
#include "definitions/Definitions.h"

using namespace Templates;

namespace {

// Zone and access point numbers of one block run 0..31.
constexpr int kZones = 32;
constexpr int kAccessPoints = 32;

// Where an access point's icon rests in the palette of unplaced access
// points: two rows of sixteen icons.
constexpr int kIconWidth = 24;
constexpr int kIconHeight = 47;
int restTop(int accessPoint) { return accessPoint < 16 ? 2 : 66; }
int restLeft(int accessPoint) { return 16 + 31 * (accessPoint % 16); }

// Access points (doors and entry panels) of the block.
Registration regAccess{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_ACCESS.db");
    def.fields = {
        intField("NUMERO", true),
        textField("TIPO", 30),
        textField("LECTOR_SECUNDARIO", 30),
        textField("DESCRIPCION", 16),
        textField("ABREPUERTAS", 10),
        textField("ABREPUERTAS_R_NUM", 3),
        intField("ABREPUERTAS_R_TEMP"),
        intField("SENSOR_PUERTA_ABIERTA_T"),
        textField("SENSOR_PUERTA_ABIERTA_REL", 3),
        boolField("BOTON_SALIDA"),
        boolField("APERTURA_PUERTA_VIVIENDA"),
        boolField("HABILITACION_SENSOR_RELE"),
        textField("CODIGO_PIN_DE", 4),
        textField("CODIGO_PIN_HASTA", 4),
        textField("TRADE_START", 4),
        textField("TRADE_END", 4),
        intField("HORARIO"),
        textField("LIFT_GRUPO", 3),
        boolField("LIFT_USR"),
        boolField("LIFT_VISIT"),
        intField("H"),
        intField("W"),
        textField("C_A", 80),
        boolField("CODIGO_PIN"),
        boolField("SENSOR_PUERTA_ABIERTA"),
        intField("PARA_EL_ASCENSOR"),
    };
    def.primaryKey = {QStringLiteral("NUMERO")};
    return def;
}};

// Zones 0..31; a zone is defined once it has a description. The picture
// path is filled in when a block is created (it names the system folder).
Registration regZones{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_ZONES.db");
    def.fields = {
        intField("N_ZONA", true),
        textField("DESCRIPCION", 30),
        intField("CAPACIDAD"),
        textField("RELE", 3),
        textField("SENDA_FOTO", 255),
    };
    def.primaryKey = {QStringLiteral("N_ZONA")};
    addNumberedRows(def, QStringLiteral("N_ZONA"), kZones);
    return def;
}};

// Zone membership: for every zone and access point, how the access point
// belongs to the zone and where its icon lies in the zone drawing. Every
// row starts unused, its icon in the palette.
Registration regZonesAux{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_ZONES_AUX.db");
    def.fields = {
        intField("N_ZONA", true),
        intField("ACCESO", true),
        textField("E_S_D", 1),
        boolField("ACCESO_VISIBLE"),
        textField("PARENT", 30),
        intField("T"),
        intField("L"),
        intField("W"),
        intField("H"),
    };
    def.primaryKey = {QStringLiteral("N_ZONA"), QStringLiteral("ACCESO")};
    for (int zone = 0; zone < kZones; ++zone) {
        for (int access = 0; access < kAccessPoints; ++access) {
            def.rows << rowOf(def, {{"N_ZONA", zone},
                                    {"ACCESO", access},
                                    {"E_S_D", QStringLiteral("X")},
                                    {"ACCESO_VISIBLE", false},
                                    {"PARENT", QStringLiteral("PANEL_CONTENEDOR_ACCESOS")},
                                    {"T", restTop(access)},
                                    {"L", restLeft(access)},
                                    {"W", kIconWidth},
                                    {"H", kIconHeight}});
        }
    }
    return def;
}};

// Areas: named groups of zones, flag Zn for zone n.
Registration regAreas{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_AREAS.db");
    def.fields = {intField("NUMERO", true), textField("DESCRIPCION", 30)};
    def.fields << boolFields(numberedNames(QStringLiteral("Z"), kZones));
    def.primaryKey = {QStringLiteral("NUMERO")};
    return def;
}};

// Profiles: up to three subprofiles of area and timetable each. The four
// system profiles are always present; their names are rewritten in the
// current language whenever a block is created or opened.
Registration regProfiles{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_PROFILES.db");
    def.fields = {
        intField("NUMERO_PERFIL", true),
        textField("DESCRIPCION", 50),
        intField("P1GZ"), intField("P1H"),
        intField("P2GZ"), intField("P2H"),
        intField("P3GZ"), intField("P3H"),
    };
    def.primaryKey = {QStringLiteral("NUMERO_PERFIL")};
    const QList<QPair<int, QString>> system = {
        {120, QStringLiteral("Reset Capacity")},
        {125, QStringLiteral("Superusers no Incidences")},
        {126, QStringLiteral("Superusers")},
        {127, QStringLiteral("No restrictions")},
    };
    for (const auto &[number, name] : system)
        def.rows << rowOf(def, {{"NUMERO_PERFIL", number}, {"DESCRIPCION", name}});
    return def;
}};

// Timetables: weekdays D0 (Sunday) .. D6 (Saturday) and two periods as
// four-digit times.
Registration regTimetables{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_TIMETABLES.db");
    def.fields = {intField("NUMERO", true), textField("NOMBRE", 100, true)};
    def.fields << boolFields(numberedNames(QStringLiteral("D"), 7));
    def.fields << textFields({"HORA_INI1", "HORA_FIN1", "HORA_INI2", "HORA_FIN2"}, 4);
    def.primaryKey = {QStringLiteral("NUMERO")};
    return def;
}};

// Holiday days (at most 20), each a four-digit day of the year.
Registration regHolidayDays{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_HDAY.db");
    def.fields = {autoIncField("NUMERO"), textField("DIA", 4, true), textField("DESCRIPCION", 50)};
    def.primaryKey = {QStringLiteral("NUMERO")};
    return def;
}};

// Holiday periods (at most 2): first and last day.
Registration regHolidayPeriods{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_HPER.db");
    def.fields = {autoIncField("NUMERO"), textField("START", 4, true), textField("END", 4, true),
                  textField("DESCRIPCION", 50)};
    def.primaryKey = {QStringLiteral("NUMERO")};
    return def;
}};

// Scheduler plans: switch a relay or arm a sensor between two times on
// chosen weekdays.
Registration regScheduler{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_SCHEDULER.db");
    def.fields = {
        intField("NUMERO", true),
        textField("TIPO_DISPOSITIVO", 30),
        textField("DISPOSITIVO", 3),
        textField("START", 4),
        textField("END", 4),
    };
    def.fields << boolFields({"LU", "MA", "MI", "JU", "VI", "SA", "DO", "HOLIDAYS", "SINCRO"});
    def.fields << textField("DESCRIPCION", 16);
    def.primaryKey = {QStringLiteral("NUMERO")};
    return def;
}};

// The block's eight components in their fixed order; a new block has none
// until the new-block wizard sets them.
Registration regItemsHas{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_ITEMS_HAS.db");
    def.fields = {intField("ORDEN", true), textField("ITEM", 3), boolField("CONTIENE")};
    const QStringList items = {"ACC", "APT", "ACT", "LCT", "SCH", "GUD", "IND", "ALA"};
    for (int order = 0; order < items.size(); ++order)
        def.rows << rowOf(def, {{"ORDEN", order}, {"ITEM", items[order]}, {"CONTIENE", false}});
    return def;
}};

// Device usage: which item (WHO, of usage kind ITEM) uses which relay
// (M_WHO_ITEM) or sensor (M_WHO_ITEMS). Rows are looked up by device or by
// item, so both get an index; a device may be used many times.
TableDef deviceUsage(const QString &fileName)
{
    TableDef def;
    def.fileName = fileName;
    def.fields = {textField("WHO", 10), textField("ITEM", 1), textField("DEVICE", 3)};
    def.indexes = {secondaryIndex(QStringLiteral("I_DEVICE"), {"DEVICE"}),
                   secondaryIndex(QStringLiteral("I_WHO"), {"WHO", "ITEM"})};
    return def;
}
Registration regWhoItem{[] { return deviceUsage(QStringLiteral("M_WHO_ITEM.db")); }};
Registration regWhoItemS{[] { return deviceUsage(QStringLiteral("M_WHO_ITEMS.db")); }};

} // namespace
