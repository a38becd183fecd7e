// Templates of a block's devices: relays, sensors, lifts and their floor
// codes, licences and times, indoor panels, guard units, telephone groups and
// the messages shown on guard units.
#include "definitions/DefinitionHelpers.h"
#include "definitions/Definitions.h"

using namespace Templates;

namespace {

// Relay and sensor numbers "000".."999": group digit plus two digits.
constexpr int kDeviceNumbers = 1000;
// Telephone groups a dialer sensor can call, "0".."3".
constexpr int kPhoneGroups = 4;
// Messages to guard units, "00".."15".
constexpr int kMessages = 16;

// Relay groups 0..9: initial state, activation time and whether enabled.
Registration regRelay{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_RELAY.db");
    def.fields = {
        intField("GRUPO", true),
        textField("DESCRIPCION", 30),
        textField("ESTADO", 3),
        intField("TIEMPO"),
        boolField("VALIDO"),
    };
    def.primaryKey = {QStringLiteral("GRUPO")};
    return def;
}};

// A description for every relay number; rows are never added or removed.
Registration regRelayDesc{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_RELAY_DESC.db");
    def.fields = {textField("RELE", 3, true), textField("DESCRIPCION", 30)};
    def.primaryKey = {QStringLiteral("RELE")};
    addNumberedRows(def, QStringLiteral("RELE"), kDeviceNumbers, 3);
    return def;
}};

// Relay values: kept with every block for its relay editor, not filled by
// any operation.
Registration regRelayValue{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_RELAY_VALUE.db");
    def.fields = {textField("RELE", 3, true), intField("VALOR")};
    def.primaryKey = {QStringLiteral("RELE")};
    return def;
}};

// Sensor groups 0..9, each of one sensor type with its parameters.
Registration regSensor{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_SENSOR.db");
    def.fields = {
        intField("GRUPO", true),
        textField("DESCRIPCION", 16),
        intField("TIPO"),
        intField("TIEMPO"),
        boolField("MINUTOS"),
        textField("N1", 1),
        textField("N2", 3),
        textField("N3", 2),
    };
    def.primaryKey = {QStringLiteral("GRUPO")};
    return def;
}};

// A description for every sensor number; rows are never added or removed.
Registration regSensorDesc{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_SENSOR_DESC.db");
    def.fields = {textField("SENSOR", 3, true), textField("DESCRIPCION", 30)};
    def.primaryKey = {QStringLiteral("SENSOR")};
    addNumberedRows(def, QStringLiteral("SENSOR"), kDeviceNumbers, 3);
    return def;
}};

// Sensor messages: kept with every block, not filled by any operation.
Registration regSensorM{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_SENSOR_M.db");
    def.fields = {textField("SENSOR", 3, true), textField("MENSAJE", 16)};
    def.primaryKey = {QStringLiteral("SENSOR")};
    return def;
}};

// Lifts: the first floor relay, the floors served and the access points
// (A00..A31) from which the lift is reached.
Registration regLifts{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_LIFTS.db");
    def.fields = {
        autoIncField("NUMERO"),
        textField("DESCRIPCION", 30, true),
        textField("OFFSET", 3),
        intField("PLANTA_START"),
        intField("PLANTA_END"),
    };
    def.fields << boolFields(numberedNames(QStringLiteral("A"), 32, 2));
    def.primaryKey = {QStringLiteral("NUMERO")};
    return def;
}};

// Floor codes 0..9: floor name and its two-digit code.
Registration regLiftCodes{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_LIFT_CODES.db");
    def.fields = {intField("NUMERO", true), textField("PISO", 2, true), textField("PL_NR", 2, true)};
    def.primaryKey = {QStringLiteral("NUMERO")};
    return def;
}};

// Lift licences 0..14: up to five floor codes a user may reach.
Registration regLicenses{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_LICENSES.db");
    def.fields = {intField("NUMERO", true), textField("DESCRIPCION", 16, true)};
    def.fields << textFields({"PL_NR1", "PL_NR2", "PL_NR3", "PL_NR4", "PL_NR5"}, 2);
    def.primaryKey = {QStringLiteral("NUMERO")};
    return def;
}};

// Lift times of the block, one row: residents in seconds, visitors in
// minutes; 0 means not set.
Registration regLiftTimes{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_LIFT_TIMES.db");
    def.fields = {intField("T_USER"), intField("T_VISITOR")};
    def.rows << rowOf(def, {{"T_USER", 0}, {"T_VISITOR", 0}});
    return def;
}};

// Indoor panels by three-digit code.
Registration regIndoor{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_INDOOR.db");
    def.fields = {textField("CODIGO", 3, true), textField("DESCRIPCION", 30)};
    def.primaryKey = {QStringLiteral("CODIGO")};
    return def;
}};

// Guard units (at most 9) by two-digit code.
Registration regGuardUnits{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_GUNITS.db");
    def.fields = {textField("CODIGO", 2, true), textField("DESCRIPCION", 30)};
    def.primaryKey = {QStringLiteral("CODIGO")};
    return def;
}};

// Telephone groups "0".."3" with three numbers each; rows are fixed.
Registration regPhones{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_PHONES.db");
    def.fields = {textField("NUMERO", 2, true)};
    def.fields << textFields({"PHONE1", "PHONE2", "PHONE3"}, 16);
    def.primaryKey = {QStringLiteral("NUMERO")};
    for (int group = 0; group < kPhoneGroups; ++group)
        def.rows << rowOf(def, {{"NUMERO", QString::number(group)}});
    return def;
}};

// Messages "00".."15" that sensors show on guard units; rows are fixed.
Registration regMessages{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_MESSAGE.db");
    def.fields = {textField("NR", 2, true), textField("MESSAGE", 16)};
    def.primaryKey = {QStringLiteral("NR")};
    addNumberedRows(def, QStringLiteral("NR"), kMessages, 2);
    return def;
}};

} // namespace
