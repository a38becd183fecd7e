#include "frame/SessionLog.h"

#include "frame/ProgramState.h"
#include "store/engine/Table.h"

#include <QLocale>

namespace SessionLog {

namespace {

QString dateText(const QDateTime &when)
{
    return QLocale::system().toString(when.date(), QLocale::ShortFormat);
}

QString timeText(const QDateTime &when)
{
    return QLocale::system().toString(when.time(), QLocale::ShortFormat);
}

} // namespace

QString loginName(const QString &name)
{
    QString login = name;
    login.remove(QLatin1Char('^'));
    return login.toLower();
}

int start(const QString &systemDir, const QString &name, int level, const QDateTime &now)
{
    Table log(systemDir, QString::fromLatin1(kFileName));
    log.open();
    log.beginTransaction();
    try {
        if (log.recordCount() >= kLimit)
            log.emptyTable();
        log.append();
        log.setText(QStringLiteral("LOGIN"), loginName(name));
        log.setInteger(QStringLiteral("NIVEL"), level);
        log.setText(QStringLiteral("START_D"), dateText(now));
        log.setText(QStringLiteral("START_H"), timeText(now));
        log.post();
        log.commit();
    } catch (...) {
        if (log.inTransaction())
            log.rollback();
        throw;
    }
    // The session's number is the largest ID_K of the log; the table is in
    // ID_K order, so it is the last row.
    log.refresh();
    log.last();
    return int(log.integer(QStringLiteral("ID_K")));
}

void end(const QString &systemDir, const QString &name, int level, int sessionId, const QDateTime &now)
{
    Table log(systemDir, QString::fromLatin1(kFileName));
    log.open();
    if (!log.locate({QStringLiteral("ID_K"), QStringLiteral("LOGIN"), QStringLiteral("NIVEL")},
                    {sessionId, loginName(name), level}))
        return; // the row is gone (the log was emptied by another run)
    log.edit();
    log.setText(QStringLiteral("END_D"), dateText(now));
    log.setText(QStringLiteral("END_H"), timeText(now));
    log.post();
}

void startSession(ProgramState &state, const QString &name, int level)
{
    state.sessionId = start(state.systemFolder, name, level);
    state.operatorName = loginName(name);
    state.operatorLevel = level;
}

void endSession(const ProgramState &state)
{
    if (!state.loggedIn())
        return;
    end(state.systemFolder, state.operatorName, state.operatorLevel, state.sessionId);
}

} // namespace SessionLog
