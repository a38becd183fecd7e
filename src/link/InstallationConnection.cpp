#include "link/InstallationConnection.h"

#include "frame/ProgramState.h"
#include "link/PortEntries.h"
#include "store/InstallationStore.h"
#include "store/engine/Table.h"

#include <QFileInfo>

#include <functional>

namespace InstallationConnection {

namespace {

const QString kPuerto = QStringLiteral("PUERTO");
const QString kTipo = QStringLiteral("TIPO_CONEXION");
const QString kTelefono = QStringLiteral("TELEFONO");

void writeFirstRow(const QString &folder, const QString &file, const std::function<void(Table &)> &change)
{
    Table table(folder, file);
    table.open();
    table.first();
    if (table.eof())
        table.append();
    else
        table.edit();
    try {
        change(table);
        table.post();
    } catch (...) {
        table.cancel();
        throw;
    }
}

} // namespace

QString portTable(const QString &installation) { return installation + QStringLiteral("_Port.db"); }
QString connectionTable(const QString &installation) { return installation + QStringLiteral("_connec.db"); }

QString readPort(const QString &folder, const QString &installation)
{
    Table table(folder, portTable(installation));
    table.open();
    table.first();
    return table.eof() ? QString() : table.text(kPuerto);
}

void writePort(const QString &folder, const QString &installation, const QString &port)
{
    writeFirstRow(folder, portTable(installation), [&](Table &t) { t.setText(kPuerto, port); });
}

Connection readConnection(const QString &folder, const QString &installation)
{
    Table table(folder, connectionTable(installation));
    table.open();
    table.first();
    Connection c;
    if (!table.eof()) {
        c.type = table.text(kTipo);
        c.phone = table.text(kTelefono);
    }
    return c;
}

void writeConnection(const QString &folder, const QString &installation, bool modem, const QString &phone)
{
    writeFirstRow(folder, connectionTable(installation), [&](Table &t) {
        t.setText(kTipo, modem ? QStringLiteral("MODEM") : QStringLiteral("LOCAL"));
        t.setText(kTelefono, phone);
    });
}

bool current(const ProgramState &state, QString *folder, QString *installation)
{
    const QString path = state.installationFile;
    if (path.isEmpty() || path == QLatin1String(Settings::kNoInstallation))
        return false;
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    *folder = info.absolutePath() + QLatin1Char('/');
    *installation = InstallationStore::installationNameOf(info.fileName());
    return true;
}

Connection applyOnOpen(ProgramState &state, const QString &folder, const QString &installation)
{
    const QString port = readPort(folder, installation);
    if (PortEntries::numberOf(port) > 0)
        state.settings.sysPort = port.trimmed().toUpper();
    const Connection c = readConnection(folder, installation);
    state.modemInstallation = c.modem();
    return c;
}

} // namespace InstallationConnection
