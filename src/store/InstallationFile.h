#pragma once

#include "store/BlockRecord.h"

#include <QList>
#include <QString>

#include <optional>

// The installation file N.axo in the work folder: one 264-byte block record
// per block, in the order the blocks were added, with no header.
//
// Every change rewrites the whole file through AtomicFile, so a failure at
// any point leaves either the old file or the new one, never a mix. A file
// whose size is not a whole number of records is reported as damaged and
// never rewritten.
class InstallationFile {
public:
    InstallationFile(const QString &folder, const QString &installation);

    static QString pathOf(const QString &folder, const QString &installation);
    QString path() const { return m_path; }
    QString folder() const { return m_folder; }
    QString installation() const { return m_installation; }
    bool exists() const;

    // All records. Throws StoreError when the file is missing, unreadable or
    // damaged (size not a multiple of 264).
    QList<BlockRecord> readBlocks() const;

    // The number of records as text; "0" when the file cannot be read.
    QString countBlocks() const;
    // True when some record's name equals `block` without regard to case.
    bool blockExists(const QString &block) const;
    // The code of the first record whose name equals `block` exactly.
    std::optional<qint32> blockCode(const QString &block) const;
    // 1, 2, 3 by the stored type text against the current language; 0 for none
    // or when the block is missing.
    int blockType(const QString &block) const;
    // The first record whose name equals `block` exactly.
    std::optional<BlockRecord> blockRecord(const QString &block) const;
    // The first record whose name, at most its first 16 characters, equals
    // `name` and whose code equals `code`.
    std::optional<BlockRecord> findBlockRecord(const QString &name, qint32 code) const;

    // An empty file, replacing any file of that name.
    void create() const;
    // Adds records at the end.
    void append(const BlockRecord &record) const;
    void append(const QList<BlockRecord> &records) const;
    // Writes `rebuilt` in place of every record whose first 50 bytes and code
    // equal those of `current`; returns how many were replaced.
    int saveBlockValues(const BlockRecord &current, const BlockRecord &rebuilt) const;
    // Removes every record whose name equals `block` exactly; returns how many.
    int removeBlock(const QString &block) const;
    // Replaces the whole file.
    void writeBlocks(const QList<BlockRecord> &records) const;

private:
    QByteArray readRaw() const;

    QString m_folder;
    QString m_installation;
    QString m_path;
};
