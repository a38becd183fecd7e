#include "store/engine/TableFamily.h"

#include "store/engine/EngineError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TableFiles {

QString join(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString resolve(const QString &folder, const QString &name)
{
    QString dir = folder;
    QString base = name;
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        dir = QDir::isAbsolutePath(name) ? name.left(slash + 1) : join(folder, name.left(slash + 1));
        base = name.mid(slash + 1);
    }
    const QString direct = join(dir, base);
    if (QFileInfo::exists(direct))
        return direct;
    const QStringList entries = QDir(dir.isEmpty() ? QStringLiteral(".") : dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (entry.compare(base, Qt::CaseInsensitive) == 0)
            return join(dir, entry);
    }
    return direct;
}

} // namespace TableFiles

namespace TableFamily {

namespace {

QString stemOf(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

QString extensionOf(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot);
}

} // namespace

QStringList members(const QString &folder, const QString &stem)
{
    QStringList result;
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive))
            continue;
        if (stemOf(entry).compare(stem, Qt::CaseInsensitive) == 0)
            result << entry;
    }
    return result;
}

QStringList copy(const QString &fromFolder, const QString &fromStem, const QString &toFolder, const QString &toStem)
{
    const QStringList files = members(fromFolder, fromStem);
    if (files.isEmpty())
        throw EngineError(EngineError::FileNotFound,
                          QStringLiteral("Table %1 does not exist").arg(TableFiles::join(fromFolder, fromStem)));
    QStringList written;
    for (const QString &file : files) {
        const QString source = TableFiles::join(fromFolder, file);
        const QString targetName = toStem + extensionOf(file);
        // An existing destination spelt differently is replaced, so the
        // folder never holds two spellings of one table.
        const QString existing = TableFiles::resolve(toFolder, targetName);
        const QString target = TableFiles::join(toFolder, targetName);
        if (QFileInfo(source).canonicalFilePath() == QFileInfo(existing).canonicalFilePath() && QFileInfo::exists(existing))
            throw EngineError(EngineError::General, QStringLiteral("Cannot copy %1 onto itself").arg(source));
        const QString temporary = target + QStringLiteral(".copying");
        QFile::remove(temporary);
        if (!QFile::copy(source, temporary)) {
            QFile::remove(temporary);
            throw EngineError(EngineError::General, QStringLiteral("Cannot copy %1 to %2").arg(source, target));
        }
        QFile::setPermissions(temporary, QFile::permissions(temporary) | QFile::WriteOwner | QFile::ReadOwner);
        if (existing != target)
            QFile::remove(existing);
        if (QFileInfo::exists(target) && !QFile::remove(target)) {
            QFile::remove(temporary);
            throw EngineError(EngineError::General, QStringLiteral("Cannot replace %1").arg(target));
        }
        if (!QFile::rename(temporary, target)) {
            QFile::remove(temporary);
            throw EngineError(EngineError::General, QStringLiteral("Cannot copy %1 to %2").arg(source, target));
        }
        written << target;
    }
    return written;
}

int remove(const QString &folder, const QString &stem)
{
    int removed = 0;
    for (const QString &file : members(folder, stem)) {
        const QString path = TableFiles::join(folder, file);
        if (!QFile::remove(path))
            throw EngineError(EngineError::General, QStringLiteral("Cannot delete %1").arg(path));
        ++removed;
    }
    return removed;
}

} // namespace TableFamily
