#pragma once

#include <QDateTime>
#include <QString>

struct ProgramState;

// The operator session log: the table Oprlog.db in the system folder, one
// row per login (ID_K, LOGIN, NIVEL, START_D, START_H, END_D, END_H). Dates
// and times are text in the system's short formats. Table errors reach the
// caller as EngineError.
namespace SessionLog {

inline constexpr const char *kFileName = "Oprlog.db";
// A log holding this many rows or more is emptied before the next login.
inline constexpr int kLimit = 400;

// The operator name as the log and the program keep it: every '^'
// removed, in lower case.
QString loginName(const QString &name);

// Opens the session row of a login and returns its ID_K.
int start(const QString &systemDir, const QString &name, int level, const QDateTime &now = QDateTime::currentDateTime());
// Writes END_D and END_H into the row of that login, name and level.
void end(const QString &systemDir, const QString &name, int level, int sessionId,
         const QDateTime &now = QDateTime::currentDateTime());

// Start session: the row is opened and the program-wide operator name,
// level and session number set.
void startSession(ProgramState &state, const QString &name, int level);
// End session: closes the operator's row; nothing when nobody logged in.
void endSession(const ProgramState &state);

} // namespace SessionLog
