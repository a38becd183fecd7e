// Templates of the user tables: a block's users, the auxiliary table that
// carries users to and from spreadsheets, and the installation's user
// locator.
#include "definitions/DefinitionHelpers.h"
#include "definitions/Definitions.h"

using namespace Templates;

namespace {

// The users of a block with their codes, profile, lift licence, door and
// floor, the device their code toggles, their place in the central unit's
// memory and personal and company data. Duplicate numbers, names and codes
// are allowed, so the secondary indexes are not unique.
Registration regUsers{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_USERS.db");
    def.fields = {
        autoIncField("AUTO_PK"),
        textField("N_USUARIO", 5),
        textField("NOMBRE", 16),
        textField("CODIGO", 10),
        textField("TIPO_USR", 50),
        intField("PERFIL"),
        intField("ASCENSOR"),
        boolField("DESB"),
        textField("PTA_PIN", 4),
        textField("PISO_USR", 2),
        textField("TIPO_DISPOSITIVO", 20),
        textField("DISPOSITIVO", 4),
        intField("MEM_POS_RELATIVA"),
        boolField("ES_USR"),
        textField("USR_FOTO", 100),
    };
    def.fields << textFields({"USR_EMAIL", "USR_TELEFONO", "USR_VEHICULO", "USR_DEPARTAMENTO"}, 50);
    def.fields << textField("USR_DNI", 12);
    def.fields << textFields({"EMP_NOMBRE", "EMP_TELEFONO", "EMP_EMAIL", "EMP_FAX", "EMP_TIPO_VISITA", "EMP_PAIS"}, 50);
    // Dates are kept as text.
    def.fields << textFields({"FECHA_ALTA", "FECHA_BAJA"}, 20);
    def.primaryKey = {QStringLiteral("AUTO_PK")};
    def.indexes = {
        secondaryIndex(QStringLiteral("I_NOMBRE"), {"NOMBRE"}),
        secondaryIndex(QStringLiteral("I_PISO"), {"PISO_USR"}),
        secondaryIndex(QStringLiteral("I_PTA_PIN"), {"PTA_PIN"}),
        secondaryIndex(QStringLiteral("I_NUMERO"), {"N_USUARIO"}),
    };
    return def;
}};

// Rows of a user spreadsheet on their way in or out, including its heading
// row ("N", "Name", "Code", ...), so every field is text and wider than the
// users table's own fields; the importer checks and pads the values.
Registration regUsersAux{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_USERS__.db");
    def.fields = {
        textField("N_USUARIO", 10),
        textField("NOMBRE", 50),
        textField("CODIGO", 20),
        textField("PERFIL", 10),
        textField("ASCENSOR", 10),
        textField("PISO_USR", 10),
        textField("PTA_PIN", 10),
    };
    return def;
}};

// The zone each user asked for was found in, one row per question.
Registration regLocator{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_LOCATOR.db");
    def.fields = {
        textField("DATE", 20),
        textField("TIME", 20),
        textField("BLOCK", 50),
        textField("ZONE_C", 4),
        textField("USR_NAME", 16),
        textField("USR_NUMBER", 5),
    };
    return def;
}};

} // namespace
