// veltrona-cli settings show: every settings key with its value.
#include "cli/CliCommand.h"

#include "frame/Settings.h"

namespace {

int settingsShow(Cli::Context &c)
{
    if (!c.args.isEmpty()) {
        c.err << "usage: veltrona-cli settings show\n";
        return Cli::BadInput;
    }
    Settings settings;
    const QString path = Settings::filePath();
    const bool readable = settings.load(path);
    for (const QString &warning : settings.warnings())
        c.err << "veltrona-cli: " << warning << "\n";
    if (!readable)
        return Cli::Failed;

    c.out << "; " << path << "\n";
    QString section;
    for (const Settings::Entry &e : settings.entries()) {
        if (e.section != section) {
            c.out << (section.isEmpty() ? "" : "\n") << '[' << e.section << "]\n";
            section = e.section;
        }
        // The mail password is not echoed.
        const bool secret = e.section == QLatin1String("Mail") && e.key == QLatin1String("Password") && !e.value.isEmpty();
        c.out << e.key << '=' << (secret ? QStringLiteral("********") : e.value) << '\n';
    }
    return Cli::Ok;
}

Cli::Registration reg{{QStringLiteral("settings show"), QStringLiteral("settings show"), settingsShow}};

} // namespace
