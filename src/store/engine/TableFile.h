#pragma once

#include "store/engine/TableDef.h"

struct sqlite3;

// The on-disk form of a table: one SQLite database per table file.
//
//   data          the table's rows; one column per field, in field order;
//                 the primary key as the table's PRIMARY KEY; each named
//                 secondary index as an SQLite index of the same name.
//   _vel_fields   pos, name, kind ('T','I','B','A'), width, required
//   _vel_indexes  name, pos, field, is_primary, is_unique
//
// The metadata tables let the engine enforce widths and required fields and
// choose an index order by name without parsing SQL.
namespace TableFile {

inline constexpr const char *kDataTable = "data";
inline constexpr const char *kFieldsTable = "_vel_fields";
inline constexpr const char *kIndexesTable = "_vel_indexes";

// Creates `path` (which must not exist) from `def`, with its initial rows,
// in one transaction. Throws EngineError on failure; no file is left behind.
void create(const QString &path, const TableDef &def);

// Reads the definition of an existing table file (rows are not read).
// Throws EngineError when the file is not a table or lacks its metadata.
TableDef readDefinition(const QString &path);

// The same, read through an open connection to the table file `path`.
TableDef readDefinition(sqlite3 *db, const QString &path);

// The CREATE TABLE statement for the data table of `def`.
QString createDataSql(const TableDef &def);

} // namespace TableFile
