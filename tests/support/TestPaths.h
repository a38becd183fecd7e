#pragma once

#include <QString>
#include <QTemporaryDir>

// A private config, system and work folder for one test, seeded from the
// generated templates and the shipped language file, removed afterwards.
class TestFolders {
public:
    TestFolders();
    bool isValid() const { return m_root.isValid() && m_ok; }
    QString root() const { return m_root.path() + QLatin1Char('/'); }
    QString configDir() const { return root() + QStringLiteral("config/"); }
    QString systemDir() const { return root() + QStringLiteral("system/"); }
    QString workDir() const { return root() + QStringLiteral("work/"); }
    QString error() const { return m_error; }

private:
    QTemporaryDir m_root;
    bool m_ok = false;
    QString m_error;
};

// Paths of the build tree, for tests that run the executables.
namespace TestPaths {
QString binaryDir();
QString cliExecutable();
QString cuSimExecutable();
QString templateDir();
QString sourceDir();
} // namespace TestPaths
