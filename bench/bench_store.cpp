// Figures of the installation store: adding a block against plain copies of
// the same template files, and reading a 64-block installation.
#include "frame/Lang.h"
#include "platform/Paths.h"
#include "store/InstallationFile.h"
#include "store/InstallationStore.h"
#include "store/SharedTables.h"
#include "store/TableFamilies.h"
#include "store/engine/TableFamily.h"
#include "support/TestPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace InstallationStore;

namespace {

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

NewBlock fullBlock(const QString &name, int code)
{
    NewBlock b;
    b.name = name;
    b.code = code;
    b.type = 1;
    b.components.fill(true);
    return b;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    TestFolders folders;
    if (!folders.isValid()) {
        out << "cannot prepare folders: " << folders.error() << "\n";
        return 1;
    }
    Lang::open(folders.configDir() + QStringLiteral("VELTRONA_LANG.ini"), QStringLiteral("ENGLISH"));
    const QString work = folders.workDir();
    const QString system = Paths::systemDir();
    const QString N = QStringLiteral("Bench");
    if (!createInstallation(work, N, Connection::Local, QString(), QString()).ok)
        return 1;

    // 1. Adding a block vs copying its template files with plain file copies.
    const int rounds = 9;
    QList<double> addMs, copyMs;
    const QString copyFolder = folders.root() + QStringLiteral("plain/");
    QDir().mkpath(copyFolder);
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        if (!addBlock(work, N, fullBlock(QStringLiteral("B%1").arg(i), i)).ok)
            return 1;
        addMs << t.nsecsElapsed() / 1e6;

        t.restart();
        for (const TableFamilies::Family &f : TableFamilies::blockTables()) {
            for (const QString &member : TableFamily::members(system, f.templ)) {
                const QString target = copyFolder + QStringLiteral("P%1").arg(i) + f.suffix + member.mid(f.templ.size());
                QFile::remove(target);
                QFile::copy(system + member, target);
            }
        }
        copyMs << t.nsecsElapsed() / 1e6;
    }
    const double add = median(addMs), copy = median(copyMs);
    out << "add block (record, 42 families, relabel, pictures, components, tree files): " << QString::number(add, 'f', 1)
        << " ms (median of " << rounds << ")\n";
    out << "plain copies of the same 42 template families:                           " << QString::number(copy, 'f', 1)
        << " ms\n";
    out << "ratio: " << QString::number(add / copy, 'f', 2) << "x (target <= 3x)\n";

    // 2. A 64-block installation with every component.
    for (int i = rounds; i < 64; ++i)
        if (!addBlock(work, N, fullBlock(QStringLiteral("B%1").arg(i), i)).ok)
            return 1;
    QList<double> readMs;
    int flagsOn = 0;
    for (int r = 0; r < 5; ++r) {
        QElapsedTimer t;
        t.start();
        const InstallationFile axo(work, N);
        const QString count = axo.countBlocks();
        flagsOn = 0;
        for (const BlockRecord &record : axo.readBlocks()) {
            const Components::Flags flags =
                SharedTables::readComponents(work, TableFamilies::blockPrefix(N, record.name()));
            flagsOn += int(std::count(flags.begin(), flags.end(), true));
        }
        readMs << t.nsecsElapsed() / 1e6;
        if (count != QLatin1String("64"))
            return 1;
    }
    out << "64 blocks: count, every block record and every _Items_Contiene: " << QString::number(median(readMs), 'f', 1)
        << " ms (median of 5; " << flagsOn << " flags set; target <= 100 ms)\n";
    return 0;
}
