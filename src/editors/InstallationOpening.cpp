#include "editors/InstallationOpening.h"

#include "platform/Paths.h"
#include "store/InstallationFile.h"
#include "store/InstallationStore.h"
#include "store/engine/Table.h"

#include <QFileInfo>

namespace {

// The first row's text of one field; empty when the table has no rows.
QString firstRowText(const QString &folder, const QString &fileName, const QString &field)
{
    Table table(folder, fileName);
    table.open();
    table.first();
    const QString text = table.eof() ? QString() : table.text(field);
    table.close();
    return text;
}

} // namespace

InstallationOpening InstallationOpening::read(const QString &path)
{
    InstallationOpening o;
    o.folder = Paths::withSlash(QFileInfo(path).absolutePath());
    o.name = InstallationStore::installationNameOf(path);
    o.tree = InstallationStore::loadTree(o.folder, o.name);
    InstallationStore::refreshAllSystemProfiles(o.folder, o.name);
    o.blockCount = InstallationFile(o.folder, o.name).countBlocks();
    o.port = firstRowText(o.folder, o.name + QStringLiteral("_Port.db"), QStringLiteral("PUERTO")).trimmed();
    o.modem = firstRowText(o.folder, o.name + QStringLiteral("_connec.db"), QStringLiteral("TIPO_CONEXION"))
                  .trimmed()
                  .toUpper() == QLatin1String("MODEM");
    return o;
}
