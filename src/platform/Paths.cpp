#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString &configOverride()
{
    static QString dir;
    return dir;
}

QString &systemOverride()
{
    static QString dir;
    return dir;
}

QString fromEnv(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

QString homeDir()
{
    return Paths::withSlash(QDir::homePath());
}

} // namespace

namespace Paths {

QString withSlash(const QString &dir)
{
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('/')))
        return dir;
    return dir + QLatin1Char('/');
}

void setConfigDirOverride(const QString &dir) { configOverride() = dir; }
void setSystemDirOverride(const QString &dir) { systemOverride() = dir; }

QString configDir()
{
    if (!configOverride().isEmpty())
        return withSlash(configOverride());
    if (const QString env = fromEnv("VELTRONA_CONFIG_DIR"); !env.isEmpty())
        return withSlash(env);
    if (const QString xdg = fromEnv("XDG_CONFIG_HOME"); !xdg.isEmpty())
        return withSlash(xdg) + QStringLiteral("veltrona/");
    return homeDir() + QStringLiteral(".config/veltrona/");
}

QString systemDir()
{
    if (!systemOverride().isEmpty())
        return withSlash(systemOverride());
    if (const QString env = fromEnv("VELTRONA_SYSTEM_DIR"); !env.isEmpty())
        return withSlash(env);
    if (const QString xdg = fromEnv("XDG_DATA_HOME"); !xdg.isEmpty())
        return withSlash(xdg) + QStringLiteral("veltrona/system/");
    return homeDir() + QStringLiteral(".local/share/veltrona/system/");
}

QString templateDir()
{
    if (const QString env = fromEnv("VELTRONA_TEMPLATE_DIR"); !env.isEmpty())
        return withSlash(env);
    // Installed layout: <prefix>/bin/veltrona and <prefix>/share/veltrona/system.
    if (QCoreApplication::instance()) {
        const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/veltrona/system/");
        if (QFileInfo::exists(installed))
            return QDir::cleanPath(installed) + QLatin1Char('/');
        const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/share/veltrona/system/");
        if (QFileInfo::exists(beside))
            return QDir::cleanPath(beside) + QLatin1Char('/');
    }
    return QStringLiteral(VELTRONA_BUILD_TEMPLATE_DIR);
}

QString tempDir() { return withSlash(QDir::tempPath()); }

QString defaultWorkFolder() { return homeDir() + QStringLiteral("KORVAN/Veltrona/"); }

QString shippedLangFile()
{
    if (const QString env = fromEnv("VELTRONA_LANG_FILE"); !env.isEmpty())
        return env;
    if (QCoreApplication::instance()) {
        const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/veltrona/VELTRONA_LANG.ini");
        if (QFileInfo::exists(installed))
            return QDir::cleanPath(installed);
    }
    return QStringLiteral(VELTRONA_BUILD_LANG_FILE);
}

bool seedFolders(QString *error)
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };

    const QString config = configDir();
    if (!QDir().mkpath(config))
        return fail(QStringLiteral("Cannot create the config folder %1").arg(config));
    const QString langTarget = config + QStringLiteral("VELTRONA_LANG.ini");
    if (!QFileInfo::exists(langTarget) && QFileInfo::exists(shippedLangFile())) {
        if (!QFile::copy(shippedLangFile(), langTarget))
            return fail(QStringLiteral("Cannot copy the language file to %1").arg(langTarget));
        QFile::setPermissions(langTarget, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    const QString system = systemDir();
    if (!QDir().mkpath(system))
        return fail(QStringLiteral("Cannot create the system folder %1").arg(system));
    const QDir templates(templateDir());
    if (!templates.exists())
        return fail(QStringLiteral("The template folder %1 does not exist").arg(templates.path()));
    const QStringList files = templates.entryList(QDir::Files);
    for (const QString &name : files) {
        // A rollback journal beside a template is the trace of a generator
        // run that was interrupted, never a template.
        if (name.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive))
            continue;
        const QString target = system + name;
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(templates.filePath(name), target))
            return fail(QStringLiteral("Cannot copy %1 to the system folder").arg(name));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return true;
}

} // namespace Paths
