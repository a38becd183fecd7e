// Templates of the central unit image tables: one table per record kind of
// the central unit, whose rows stand one to one for the unit's records and
// hold the values already in the shape the record encoder wants. All but
// the users image keep one row per record slot, NR 0 .. room - 1, in slot
// order; the compile edits these rows and never adds or removes any.
#include "definitions/DefinitionHelpers.h"
#include "definitions/Definitions.h"

using namespace Templates;

namespace {

// A fixed-row image table: NR as its key, then `fields`, and one empty row
// per record slot.
TableDef fixedImage(const QString &fileName, int room, const QList<FieldDef> &fields)
{
    TableDef def;
    def.fileName = fileName;
    def.fields = {intField("NR", true)};
    def.fields << fields;
    def.primaryKey = {QStringLiteral("NR")};
    addNumberedRows(def, QStringLiteral("NR"), room);
    return def;
}

QList<FieldDef> weekdayFlags()
{
    return boolFields({"MO", "TU", "WE", "TH", "FR", "SA", "SU"});
}

// Profiles: name and the area and timetable of the three subprofiles. The
// name is copied whole (the encoder cuts it), so it is as wide as the
// profile's own name.
Registration regImageProfiles{[] {
    QList<FieldDef> fields = {textField("DESC", 50)};
    fields << textFields({"A1", "A2", "A3", "T1", "T2", "T3"}, 2);
    return fixedImage(QStringLiteral("AXOPRO.db"), 64, fields);
}};

// Areas: name and zone flags Z0..Z31.
Registration regImageAreas{[] {
    QList<FieldDef> fields = {textField("DESC", 30)};
    fields << boolFields(numberedNames(QStringLiteral("Z"), 32));
    return fixedImage(QStringLiteral("AXOARE.db"), 32, fields);
}};

// Timetables: weekdays and two periods (the name is not sent).
Registration regImageTimetables{[] {
    QList<FieldDef> fields = {textField("DESC", 100)};
    fields << weekdayFlags();
    fields << textFields({"HOUR_A_START", "HOUR_A_END", "HOUR_B_START", "HOUR_B_END"}, 4);
    return fixedImage(QStringLiteral("AXOTIM.db"), 32, fields);
}};

// Lift floor codes.
Registration regImageLiftCodes{[] {
    return fixedImage(QStringLiteral("AXOCOD.db"), 10, textFields({"FLOOR", "RELAY"}, 2));
}};

// Lift licences: name and up to five floor codes.
Registration regImageLicences{[] {
    QList<FieldDef> fields = {textField("DESC", 16)};
    fields << textFields({"REL1", "REL2", "REL3", "REL4", "REL5"}, 2);
    return fixedImage(QStringLiteral("AXOLIC.db"), 15, fields);
}};

// Access points. The two times are as wide as the editors let them be, so
// the compile never fails on a time the encoder then has to refuse.
Registration regImageAccess{[] {
    const QList<FieldDef> fields = {
        textField("DESC", 16),
        textField("TYPE", 30),
        textField("DOOR_RELAY", 3),
        textField("DOOR_TIME", 5),
        boolField("DOOR_INV"),
        boolField("OUT_BUTTON"),
        boolField("OPEN_APART"),
        textField("SUP_TIME", 5),
        textField("SUP_ALARM", 3),
        textField("TRADE_START", 4),
        textField("TRADE_END", 4),
        textField("PIN_START", 4),
        textField("PIN_END", 4),
        boolField("REL_ENABLE"),
        textField("LIFT_OFFSET", 3),
        boolField("LIFT_USER"),
        boolField("LIFT_VISIT"),
        textField("TIMETABLE", 2),
        boolField("ENABLED"),
    };
    return fixedImage(QStringLiteral("AXOACC.db"), 32, fields);
}};

// Holiday days, five per record.
Registration regImageHolidayDays{[] {
    return fixedImage(QStringLiteral("AXOHL1.db"), 4, textFields({"DATE1", "DATE2", "DATE3", "DATE4", "DATE5"}, 4));
}};

// Holiday periods.
Registration regImageHolidayPeriods{[] {
    return fixedImage(QStringLiteral("AXOHL2.db"), 3, textFields({"START", "END"}, 4));
}};

// Zones: name, capacity, capacity relay and the direction letter ("I",
// "O", "D" or empty) of every access point A00..A31.
Registration regImageZones{[] {
    QList<FieldDef> fields = {textField("DESC", 30), textField("MAX", 5), textField("R_MAX", 3)};
    fields << textFields(numberedNames(QStringLiteral("A"), 32, 2), 1);
    return fixedImage(QStringLiteral("AXOZON.db"), 32, fields);
}};

// Scheduler entries: device as "B"/"A" plus its number, times, weekdays.
Registration regImageScheduler{[] {
    QList<FieldDef> fields = {
        textField("DESC", 16),
        textField("DEVICE", 4),
        textField("START", 4),
        textField("END", 4),
    };
    fields << weekdayFlags();
    fields << boolFields({"HOLIDAY", "SINCRO"});
    return fixedImage(QStringLiteral("AXOSCH.db"), 32, fields);
}};

// Relay groups: enabled, name, activation time and initial state.
Registration regImageRelays{[] {
    const QList<FieldDef> fields = {
        textField("DESC", 30),
        boolField("VALID"),
        textField("TIME", 5),
        textField("INIT", 1),
    };
    return fixedImage(QStringLiteral("AXOREL.db"), 10, fields);
}};

// Sensor groups: type, name, parameters N1..N3, delay N4 and its unit.
Registration regImageSensors{[] {
    const QList<FieldDef> fields = {
        textField("DESC", 16),
        textField("TYPE", 3),
        textField("N1", 1),
        textField("N2", 3),
        textField("N3", 2),
        textField("N4", 3),
        boolField("UNIT"),
    };
    return fixedImage(QStringLiteral("AXOSEN.db"), 10, fields);
}};

// Users: rebuilt from the users table at every compile (no fixed rows),
// keyed by the user row it came from. The secondary indexes choose the
// order in which users are written to the unit.
Registration regImageUsers{[] {
    TableDef def;
    def.fileName = QStringLiteral("AXOUSR.db");
    def.fields = {
        intField("AUTO_PK_EN_PLUS"),
        textField("NAME", 16),
        textField("FLOOR", 2),
        textField("DOOR", 4),
        textField("CODE", 10),
        textField("LEVEL", 3),
        textField("LIFT", 2),
        boolField("UNLOCK"),
        textField("SENSOR", 4),
        textField("USER", 5),
        textField("TIME", 2),
        intField("MEM_POS_RELATIVA"),
    };
    def.primaryKey = {QStringLiteral("AUTO_PK_EN_PLUS")};
    def.indexes = {
        secondaryIndex(QStringLiteral("I_NAME"), {"NAME"}),
        secondaryIndex(QStringLiteral("I_USER"), {"USER"}),
        secondaryIndex(QStringLiteral("I_CODE"), {"CODE"}),
        secondaryIndex(QStringLiteral("I_DOOR"), {"DOOR"}),
    };
    return def;
}};

} // namespace
