#pragma once

#include <QString>
#include <QStringList>

// Table file names are compared without regard to case: the program spells
// one table _ACCESS.DB, _Access.db or _access.db.
namespace TableFiles {

// The path of the file in `folder` whose name equals `name` without regard
// to case; when none exists, `folder` joined with `name` as given (so a new
// file keeps the spelling it was given). An absolute `name` is resolved in
// its own folder.
QString resolve(const QString &folder, const QString &name);

// `folder` joined with `name`, whether or not the folder ends in '/'.
QString join(const QString &folder, const QString &name);

} // namespace TableFiles

namespace Engine {
inline QString resolve(const QString &folder, const QString &name) { return TableFiles::resolve(folder, name); }
} // namespace Engine

// A table is a family of files sharing one stem (the name without its
// extension): M_Users.db and, where present, its companions. Families are
// copied and deleted file by file; a missing companion is skipped.
namespace TableFamily {

// The files of `folder` whose stem equals `stem` without regard to case
// (names only, sorted). Journal files of an unfinished write are not part
// of a family.
QStringList members(const QString &folder, const QString &stem);

// Copies every member of the family `fromStem` in `fromFolder` to `toFolder`
// under `toStem`, keeping each file's extension (M_Users.db ->
// Tower_North_Users.db), creating or replacing the destination files. Each
// file is written beside its destination and renamed into place, so a
// failure never leaves a half-written table. Returns the paths written.
// Throws EngineError FileNotFound when the family has no file at all, and
// EngineError General when a file cannot be copied.
QStringList copy(const QString &fromFolder, const QString &fromStem, const QString &toFolder, const QString &toStem);

// Deletes every member of the family; returns the number of files deleted
// (0 when there was none). Throws EngineError General when a file cannot be
// deleted.
int remove(const QString &folder, const QString &stem);

} // namespace TableFamily
