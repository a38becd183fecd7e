#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Whole-file replacement that never leaves a half-written file behind: the
// new contents go to a temporary file in the same folder, are flushed to the
// disk, and the temporary file is renamed over the old one; the folder entry
// is flushed too. A failure at any step leaves the old file as it was and
// removes the temporary file.
namespace AtomicFile {

// Throws StoreError when the file cannot be written.
void write(const QString &path, const QByteArray &data);

// Points where a write may be made to fail, so the guarantee can be checked.
enum class Stage { TempCreated, DataWritten, BeforeRename };
// The hook throws to make the write fail at that stage; an empty hook clears it.
void setFaultHook(std::function<void(Stage)> hook);

} // namespace AtomicFile
