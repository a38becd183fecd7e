#pragma once

#include <QString>

struct LinkSettings;
struct ProgramState;

// The two one-row tables that say how an installation is reached:
// N_Port.db (PUERTO, the installation's system port) and N_connec.db
// (TIPO_CONEXION "LOCAL" or "MODEM", TELEFONO the number dialled). `folder`
// is the work folder, `installation` the installation name N. Table errors
// are thrown (EngineError).
namespace InstallationConnection {

struct Connection {
    QString type;   // as stored ("LOCAL", "MODEM", "modem", or empty)
    QString phone;
    // A modem connection: the type upper-cased is "MODEM".
    bool modem() const { return isModem(type); }
    static bool isModem(const QString &type) { return type.trimmed().toUpper() == QLatin1String("MODEM"); }
};

QString portTable(const QString &installation);
QString connectionTable(const QString &installation);

// PUERTO of the first row; empty when the table has no row.
QString readPort(const QString &folder, const QString &installation);
// Writes PUERTO into the first row (added when the table is empty).
void writePort(const QString &folder, const QString &installation, const QString &port);

// The first row of N_connec.db; empty values when it has none.
Connection readConnection(const QString &folder, const QString &installation);
// Writes TIPO_CONEXION ("MODEM" or "LOCAL") and TELEFONO into the first row.
void writeConnection(const QString &folder, const QString &installation, bool modem, const QString &phone);

// The installation the program has open (state.installationFile): its work
// folder (ending in '/') and name. False when none is open or its file is gone.
bool current(const ProgramState &state, QString *folder, QString *installation);

// What opening an installation takes from its tables: PUERTO becomes the
// system port (Sys_Port; kept as it was when PUERTO is empty or not a port
// name COM1..COM16) and the connection type sets or clears the
// modem-connection flag. Returns the connection read.
Connection applyOnOpen(ProgramState &state, const QString &folder, const QString &installation);

} // namespace InstallationConnection
