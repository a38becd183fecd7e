// Templates of the installation-wide tables (warning rules and kinds,
// control panel codes and messages, connection type and serial port), the
// incidence log table and the operators' session log.
#include "definitions/DefinitionHelpers.h"
#include "definitions/Definitions.h"

using namespace Templates;

namespace {

// Warning rules: when an incidence's event, info and name contain the
// filters, show the message and optionally send an e-mail.
Registration regEvents2{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_EVENTS2.db");
    def.fields = {
        textField("Nombre", 50),
        textField("EVENT", 50),
        textField("INFO", 50),
        textField("DESC", 50),
        textField("DATETIME", 20),
        boolField("EMAIL"),
        textField("EMAIL_ADR", 50),
        intField("TYPE_EVENT"),
    };
    return def;
}};

// Warning kinds a rule chooses from; read-only in the program, so the
// three kinds come with the template.
Registration regEvents2D{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_EVENTS2_D.db");
    def.fields = {intField("NR", true), textField("DESC", 50)};
    const QStringList kinds = {"Information", "Warning", "Danger"};
    for (int kind = 0; kind < kinds.size(); ++kind)
        def.rows << rowOf(def, {{"NR", kind}, {"DESC", kinds[kind]}});
    return def;
}};

// The four access codes and the number of digits of each central unit,
// as read and edited in the control panel.
Registration regCodes{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_CODES.db");
    def.fields = {
        textField("BLOQUE", 19),
        textField("C_LECTURA", 5),
        textField("C_ESCRITURA", 5),
        textField("C_PROGR", 5),
        textField("C_INCID", 5),
        intField("N_DIGITS"),
    };
    return def;
}};

// The two display lines of each central unit, as edited in the control
// panel.
Registration regMessagePanel{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_MESSAGE_PANEL.db");
    def.fields = {textField("BLOQUE", 19), textField("LINE1", 16), textField("LINE2", 16)};
    return def;
}};

// How the installation is reached, one row: "LOCAL" (direct line) or
// "MODEM" with the phone number to dial.
Registration regConnectionType{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_TYPE_C.db");
    def.fields = {textField("TIPO_CONEXION", 10), textField("TELEFONO", 50)};
    def.rows << rowOf(def, {{"TIPO_CONEXION", QStringLiteral("LOCAL")}});
    return def;
}};

// The installation's serial port, one row; empty until a port is chosen.
Registration regPort{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_PORT.db");
    def.fields = {textField("PUERTO", 10)};
    def.rows << QVariantList{QVariant()};
    return def;
}};

// One hour's incidence log: every incidence and PC-ON/PC-OFF result, with
// the operator's note once a warning about it was acknowledged.
Registration regIncidenceLog{[] {
    TableDef def;
    def.fileName = QStringLiteral("M_Rec.db");
    def.fields = {
        autoIncField("ORDEN"),
        textField("FECHA", 19),
        textField("EVENTO", 100),
        textField("INFO", 100),
        textField("DESC", 100),
        textField("SPECIAL_MESSAGE", 1),
        textField("GUARD_TEXT", 255),
    };
    def.primaryKey = {QStringLiteral("ORDEN")};
    def.indexes = {
        secondaryIndex(QStringLiteral("I_FECHA"), {"FECHA"}),
        secondaryIndex(QStringLiteral("I_EVENTO"), {"EVENTO"}),
        secondaryIndex(QStringLiteral("I_INFO"), {"INFO"}),
        secondaryIndex(QStringLiteral("I_DESC"), {"DESC"}),
    };
    return def;
}};

// The operators' session log kept in the system folder: one row per login,
// closed at shutdown.
Registration regSessionLog{[] {
    TableDef def;
    def.fileName = QStringLiteral("Oprlog.db");
    def.fields = {
        autoIncField("ID_K"),
        textField("LOGIN", 16),
        intField("NIVEL"),
        textField("START_D", 20),
        textField("START_H", 20),
        textField("END_D", 20),
        textField("END_H", 20),
    };
    def.primaryKey = {QStringLiteral("ID_K")};
    return def;
}};

} // namespace
