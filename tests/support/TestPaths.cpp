#include "support/TestPaths.h"

#include "platform/Paths.h"

#include <QDir>

TestFolders::TestFolders()
{
    if (!m_root.isValid())
        return;
    QDir().mkpath(workDir());
    Paths::setConfigDirOverride(configDir());
    Paths::setSystemDirOverride(systemDir());
    m_ok = Paths::seedFolders(&m_error);
}

namespace TestPaths {

QString binaryDir()
{
    const QByteArray env = qgetenv("VELTRONA_BINARY_DIR");
    return env.isEmpty() ? QStringLiteral(VELTRONA_BINARY_DIR) : QString::fromLocal8Bit(env);
}

QString cliExecutable() { return binaryDir() + QStringLiteral("/veltrona-cli"); }
QString cuSimExecutable() { return binaryDir() + QStringLiteral("/veltrona-cu-sim"); }
QString templateDir() { return QStringLiteral(VELTRONA_BUILD_TEMPLATE_DIR); }
QString sourceDir() { return QStringLiteral(VELTRONA_SOURCE_DIR); }

} // namespace TestPaths
