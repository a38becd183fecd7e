#include "cli/StoreCli.h"

#include "frame/Lang.h"
#include "frame/Settings.h"
#include "platform/Paths.h"
#include "store/InstallationStore.h"

#include <QFileInfo>

namespace StoreCli {

bool prepare(Cli::Context &c)
{
    QString error;
    if (!Paths::seedFolders(&error)) {
        c.err << "veltrona-cli: " << error << "\n";
        return false;
    }
    Settings settings;
    settings.load();
    Lang::open(Lang::filePath(), settings.idioma);
    return true;
}

InstallationPath split(const QString &path)
{
    const QFileInfo info(path);
    return {Paths::withSlash(info.absolutePath()), InstallationStore::installationNameOf(path)};
}

bool parseCode(const QString &text, int *code)
{
    if (text.isEmpty() || text.size() > 2)
        return false;
    for (const QChar ch : text)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    *code = text.toInt();
    return *code <= 63;
}

int report(Cli::Context &c, const StoreOutcome &outcome)
{
    if (outcome.ok)
        return Cli::Ok;
    QString message = outcome.message;
    message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    c.err << "veltrona-cli: " << message << "\n";
    return Cli::Failed;
}

} // namespace StoreCli
