#include "transfer/Send.h"

#include "frame/Lang.h"
#include "link/CuCommands.h"
#include "link/Link.h"
#include "platform/Dialogs.h"
#include "store/InstallationFile.h"
#include "store/StoreError.h"
#include "store/engine/EngineError.h"
#include "store/engine/Table.h"
#include "transfer/Compile.h"
#include "transfer/CuBracket.h"
#include "transfer/EncodeError.h"
#include "transfer/MemoryMap.h"
#include "transfer/RecordEncoders.h"
#include "transfer/UserRecord.h"

#include <QHash>

using MemoryMap::MemoryWrite;
using SendKinds::Branch;

QString userSortIndex(UserSort sort)
{
    switch (sort) {
    case UserSort::Name: return QStringLiteral("I_NAME");
    case UserSort::User: return QStringLiteral("I_USER");
    case UserSort::Code: return QStringLiteral("I_CODE");
    case UserSort::Door: return QStringLiteral("I_DOOR");
    case UserSort::None: break;
    }
    return QString();
}

QStringList SendResult::failedCaptions() const
{
    QStringList list;
    for (const KindResult &k : kinds)
        if (!k.sent)
            list << k.caption;
    return list;
}

namespace {

// The configuration kinds the wizard writes, each with what it compiles
// and where its records come from.
enum ConfigKind { Profiles, Areas, Timetables, Lifts, AccessPoints, Zones, Phones, Messages, Sensors, RelayGroups, Scheduler, Holidays };

struct ConfigKindInfo {
    const char *key;
    QList<Compile::Kind> compiles;
};

const ConfigKindInfo &info(int kind)
{
    static const QList<ConfigKindInfo> table{
        {"PRO", {Compile::Kind::Profiles}},
        {"ARE", {Compile::Kind::Areas}},
        {"TIM", {Compile::Kind::Timetables}},
        {"LIC", {Compile::Kind::LiftCodes, Compile::Kind::LiftLicences}},
        {"ACC", {Compile::Kind::AccessPoints}},
        {"ZON", {Compile::Kind::Zones}},
        {"STAN_PHO", {}},
        {"STAN_MES", {}},
        {"SEN", {Compile::Kind::Sensors}},
        {"REL", {Compile::Kind::RelayGroups}},
        {"SCH", {Compile::Kind::Scheduler}},
        {"HOL", {Compile::Kind::Holidays}},
    };
    return table[kind];
}

QString tableFile(const QString &prefix, const QString &suffix) { return prefix + suffix + QStringLiteral(".db"); }

// The rows of a table in key order (or in the order of `index`), with their
// field names in upper case.
QList<ImageRow> readRows(const QString &folder, const QString &file, const QString &index = QString())
{
    Table t(folder, file);
    t.open();
    if (!index.isEmpty())
        t.setIndexName(index);
    const QStringList names = t.fieldNames();
    QList<ImageRow> rows;
    rows.reserve(t.recordCount());
    for (t.first(); !t.eof(); t.next()) {
        QVariantMap values;
        for (const QString &name : names)
            values.insert(name.toUpper(), t.value(name));
        rows << ImageRow(values);
    }
    return rows;
}

struct Writes {
    QList<MemoryWrite> writes;
    QByteArray liftTimes; // the data of 'S' 13 for the lift kind
};

// Every write of one configuration kind, from its image tables (or from
// `_Phones` and `_Msgs`). Throws EncodeError for a refused row and
// EngineError for a table that cannot be read.
Writes buildWrites(int kind, const QString &folder, const QString &prefix)
{
    auto rows = [&](const char *suffix) { return readRows(folder, tableFile(prefix, QLatin1String(suffix))); };
    Writes w;
    switch (kind) {
    case Profiles: w.writes = RecordEncoders::configurationWrites(RecordKind::Profile, rows("_AXOPRO")); break;
    case Areas: w.writes = RecordEncoders::configurationWrites(RecordKind::Area, rows("_AXOARE")); break;
    case Timetables: w.writes = RecordEncoders::configurationWrites(RecordKind::Timetable, rows("_AXOTIM")); break;
    case Lifts: {
        // Licences first, then the lift codes; the lift times follow the close.
        w.writes = RecordEncoders::configurationWrites(RecordKind::LiftLicence, rows("_AXOLIC"));
        w.writes << RecordEncoders::configurationWrites(RecordKind::LiftCode, rows("_AXOCOD"));
        const QList<ImageRow> times = rows("_Lift_Time");
        w.liftTimes = RecordEncoders::liftTimes(times.isEmpty() ? ImageRow() : times.first());
        break;
    }
    case AccessPoints: w.writes = RecordEncoders::configurationWrites(RecordKind::AccessPoint, rows("_AXOACC")); break;
    case Zones: w.writes = RecordEncoders::configurationWrites(RecordKind::Zone, rows("_AXOZON")); break;
    case Phones: w.writes = RecordEncoders::configurationWrites(RecordKind::Phone, rows("_Phones")); break;
    case Messages: w.writes = RecordEncoders::configurationWrites(RecordKind::Message, rows("_Msgs")); break;
    case Sensors: w.writes = RecordEncoders::configurationWrites(RecordKind::Sensor, rows("_AXOSEN")); break;
    case RelayGroups: w.writes = RecordEncoders::configurationWrites(RecordKind::RelayGroup, rows("_AXOREL")); break;
    case Scheduler: w.writes = RecordEncoders::configurationWrites(RecordKind::Scheduler, rows("_AXOSCH")); break;
    case Holidays:
        w.writes = RecordEncoders::configurationWrites(RecordKind::HolidayDays, rows("_AXOHL1"));
        w.writes << RecordEncoders::configurationWrites(RecordKind::HolidayPeriods, rows("_AXOHL2"));
        break;
    }
    return w;
}

QString hexAddress(int address) { return QString::number(address); }

} // namespace

struct Sender::Run {
    SendRequest request;
    QString prefix;
    SendResult result;
    bool fullSend = false;
    bool pageOpen = false;
    QList<int> inOpenPage; // results written in the open page 1, sent only when it closes well
    bool holidaysWritten = false;
};

Sender::Sender(CuCommands &commands) : m_commands(commands) {}

SendResult Sender::confirm(const SendRequest &request)
{
    Run run;
    run.request = request;
    run.prefix = request.installation + QLatin1Char('_') + request.block;

    const QList<Branch> branches = SendKinds::branchesFor(request.kindCaption);
    if (branches.isEmpty()) {
        run.result.connectionMessage = QStringLiteral("Nothing to send for \"%1\".").arg(request.kindCaption);
        return run.result;
    }

    // The CUs of the installation: the connection logs into the block's CU
    // only when it is one of them.
    QList<int> cus;
    try {
        for (const BlockRecord &b : InstallationFile(request.folder, request.installation).readBlocks())
            cus << b.code();
    } catch (const StoreError &) {
        cus << request.cu;
    }

    CuBracket bracket(m_commands, m_monitor);
    if (!bracket.open(request.installation, request.cu, cus, m_general)) {
        run.result.connectionMessage = bracket.failureText();
        return run.result;
    }
    run.result.connected = true;
    for (Branch b : branches)
        runBranch(run, b);
    bracket.close();
    return run.result;
}

void Sender::runBranch(Run &run, Branch branch)
{
    switch (branch) {
    case Branch::ConfigurationWithUsers: fullConfiguration(run, true); break;
    case Branch::Configuration: fullConfiguration(run, false); break;
    case Branch::ZonesThenAccess:
        sendConfigKind(run, QStringLiteral("ZON"), Zones);
        sendConfigKind(run, QStringLiteral("ACC"), AccessPoints);
        break;
    case Branch::Profiles: sendConfigKind(run, QStringLiteral("PRO"), Profiles); break;
    case Branch::Areas: sendConfigKind(run, QStringLiteral("ARE"), Areas); break;
    case Branch::Timetables:
        sendConfigKind(run, QStringLiteral("TIM"), Timetables);
        askReset(run);
        break;
    case Branch::Lifts: sendConfigKind(run, QStringLiteral("LIC"), Lifts); break;
    case Branch::AccessPoints: sendConfigKind(run, QStringLiteral("ACC"), AccessPoints); break;
    case Branch::Holidays:
        run.holidaysWritten = false;
        sendConfigKind(run, QStringLiteral("HOL"), Holidays);
        if (run.holidaysWritten)
            askReset(run);
        break;
    case Branch::Zones: sendConfigKind(run, QStringLiteral("ZON"), Zones); break;
    case Branch::Phones: sendConfigKind(run, QStringLiteral("STAN_PHO"), Phones); break;
    case Branch::Messages: sendConfigKind(run, QStringLiteral("STAN_MES"), Messages); break;
    case Branch::Sensors: sendConfigKind(run, QStringLiteral("SEN"), Sensors); break;
    case Branch::RelayGroups: sendConfigKind(run, QStringLiteral("REL"), RelayGroups); break;
    case Branch::Scheduler: sendConfigKind(run, QStringLiteral("SCH"), Scheduler); break;
    case Branch::Users: sendUsers(run); break;
    }
}

void Sender::fullConfiguration(Run &run, bool withUsers)
{
    if (withUsers)
        sendUsers(run);
    run.fullSend = true;
    run.holidaysWritten = false;
    static const QList<QPair<const char *, int>> order{
        {"PRO", Profiles}, {"ARE", Areas}, {"TIM", Timetables}, {"LIC", Lifts}, {"ACC", AccessPoints},
        {"ZON", Zones}, {"STAN_PHO", Phones}, {"STAN_MES", Messages}, {"SEN", Sensors},
        {"REL", RelayGroups}, {"SCH", Scheduler}, {"HOL", Holidays}};
    for (const auto &[key, kind] : order)
        sendConfigKind(run, QLatin1String(key), kind);
    run.fullSend = false;
    if (run.holidaysWritten)
        askReset(run);
}

void Sender::askReset(Run &run)
{
    run.result.resetAsked = true;
    if (!Dialogs::instance().confirm(Lang::text(QStringLiteral("F_Asist01_M1"), QStringLiteral("Reset now?"))))
        return;
    // The unit restarts at once: the request is sent without waiting.
    m_commands.link().Exchange(QByteArray(1, 'J'), 0, m_commands.link().currentCu());
    run.result.resetSent = true;
}

void Sender::sendConfigKind(Run &run, const QString &key, int kind)
{
    KindResult k;
    k.key = key;
    k.caption = Lang::word(key);
    if (m_listener.kindStarted)
        m_listener.kindStarted(k.caption);
    const bool closesPage = !run.fullSend || kind == Holidays;

    auto finish = [&](bool sent, const QString &message) {
        k.sent = sent;
        k.message = message;
        run.result.kinds << k;
        if (m_listener.writeDone)
            m_listener.writeDone(sent);
    };
    // Closes page 1 when this kind is the one to close it; the kinds written
    // in the page are sent only when the close is acknowledged.
    auto closePage = [&]() -> bool {
        if (!run.pageOpen)
            return true;
        run.pageOpen = false;
        const bool closed = m_commands.Mem_Close_Page(MemoryMap::kConfigPage);
        if (!closed) {
            for (int index : std::as_const(run.inOpenPage)) {
                KindResult &earlier = run.result.kinds[index];
                if (earlier.sent) {
                    earlier.sent = false;
                    earlier.message = QStringLiteral("configuration page 1 was not closed: nothing of it was kept");
                }
            }
        }
        run.inOpenPage.clear();
        return closed;
    };

    // Compile; a compile that fails sends nothing of the kind rather than
    // whatever an earlier compile left in the image table.
    for (Compile::Kind c : info(kind).compiles) {
        Compile::Progress progress{m_listener.compileStarted, m_listener.compileStep};
        const Compile::Outcome o = Compile::run(c, run.request.folder, run.prefix, progress);
        if (m_listener.compileDone)
            m_listener.compileDone(o.ok);
        if (!o.ok) {
            if (closesPage && run.fullSend)
                closePage();
            finish(false, QStringLiteral("compile of %1: %2").arg(Compile::kindName(c), o.error));
            return;
        }
    }

    Writes w;
    try {
        w = buildWrites(kind, run.request.folder, run.prefix);
    } catch (const EncodeError &e) {
        if (closesPage && run.fullSend)
            closePage();
        finish(false, e.text());
        return;
    } catch (const EngineError &e) {
        if (closesPage && run.fullSend)
            closePage();
        finish(false, e.text());
        return;
    }

    if (m_listener.writeStarted)
        m_listener.writeStarted(int(w.writes.size()));
    if (!run.pageOpen) {
        if (!m_commands.Mem_Open_Page(MemoryMap::kConfigPage)) {
            finish(false, QStringLiteral("the central unit did not open configuration page 1"));
            return;
        }
        run.pageOpen = true;
    }

    bool allWritten = true;
    QString message;
    int unanswered = 0;
    int done = 0;
    for (const MemoryWrite &mw : std::as_const(w.writes)) {
        if (m_commands.Mem_Write(mw.address, mw.bytes)) {
            unanswered = 0;
        } else {
            if (allWritten)
                message = QStringLiteral("write at address %1 (record %2) not acknowledged").arg(hexAddress(mw.address)).arg(mw.recordIndex);
            allWritten = false;
            if (++unanswered >= kGiveUpAfterUnanswered) {
                message = QStringLiteral("the central unit stopped answering (record %1)").arg(mw.recordIndex);
                break;
            }
        }
        if (m_listener.writeStep)
            m_listener.writeStep(++done);
    }

    bool closed = true;
    if (closesPage) {
        closed = closePage();
        if (!closed && message.isEmpty())
            message = QStringLiteral("configuration page 1 was not closed");
    } else {
        run.inOpenPage << int(run.result.kinds.size());
    }

    if (kind == Lifts && !w.liftTimes.isEmpty()) {
        // The set-lift-times request; the unit's answer carries nothing.
        m_commands.setParameter(MemoryMap::kSetLiftTimesParameter, w.liftTimes);
    }
    const bool sent = allWritten && closed;
    if (kind == Holidays)
        run.holidaysWritten = sent;
    finish(sent, message);
}

void Sender::sendUsers(Run &run)
{
    KindResult k;
    k.key = QStringLiteral("USR");
    k.caption = Lang::word(k.key);
    if (m_listener.kindStarted)
        m_listener.kindStarted(k.caption);
    auto finish = [&](bool sent, const QString &message) {
        k.sent = sent;
        k.message = message;
        run.result.kinds << k;
        if (m_listener.writeDone)
            m_listener.writeDone(sent);
    };

    // The block must be the installation's block of that CU.
    try {
        if (!InstallationFile(run.request.folder, run.request.installation).findBlockRecord(run.request.block, run.request.cu)) {
            finish(false, QStringLiteral("block %1 with central unit %2 is not in the installation file")
                              .arg(run.request.block).arg(run.request.cu));
            return;
        }
    } catch (const StoreError &e) {
        finish(false, e.what());
        return;
    }

    const UserSort sort = m_sortChooser ? m_sortChooser() : UserSort::None;
    const Compile::Outcome compiled = Compile::run(Compile::Kind::Users, run.request.folder, run.prefix,
                                                   {m_listener.compileStarted, m_listener.compileStep});
    if (m_listener.compileDone)
        m_listener.compileDone(compiled.ok);
    if (!compiled.ok) {
        finish(false, QStringLiteral("compile of users: %1").arg(compiled.error));
        return;
    }

    // The list in the chosen order; at most 1020 users reach the unit.
    const QString imageFile = tableFile(run.prefix, QStringLiteral("_AXOUSR"));
    QList<ImageRow> rows;
    QList<MemoryWrite> writes;
    try {
        rows = readRows(run.request.folder, imageFile, userSortIndex(sort));
        if (rows.size() > MemoryMap::kMaxUsers)
            rows = rows.mid(0, MemoryMap::kMaxUsers);
        // Every record is assembled before the unit is erased: a refused row
        // must not leave the unit without users.
        writes = UserRecord::listWrites(rows);
    } catch (const EncodeError &e) {
        finish(false, e.text());
        return;
    } catch (const EngineError &e) {
        finish(false, e.text());
        return;
    }

    // The erase clears the header slots too; they are written back with what
    // was read at connection, so without that reading nothing is erased.
    const UserHeader &header = m_commands.userHeader();
    if (!header.valid) {
        finish(false, QStringLiteral("the user-memory header was not read at connection"));
        return;
    }
    if (m_listener.writeStarted)
        m_listener.writeStarted(int(writes.size()));
    if (!m_commands.eraseAllUsers()) {
        finish(false, QStringLiteral("the central unit did not erase its users"));
        return;
    }

    bool ok = true;
    QString message;
    QByteArray codes;
    for (const QByteArray &c : header.codes)
        codes += c.leftJustified(MemoryMap::kSystemCodeLength, '\0', true);
    if (!m_commands.Write_User_Record(MemoryMap::kCodesSlot, MemoryMap::codesSlotRecord(codes))) {
        ok = false;
        message = QStringLiteral("header slot 0 (system codes) not written back");
    }
    m_commands.writeCodeDigits(header.codeDigits);
    const QByteArray display = header.displayMessage.size() == MemoryMap::kUserSlotSize
        ? header.displayMessage
        : MemoryMap::displaySlotRecord(header.displayMessage.left(16), header.displayMessage.mid(16, 16));
    if (!m_commands.Write_User_Record(MemoryMap::kDisplaySlot, display)) {
        ok = false;
        if (message.isEmpty())
            message = QStringLiteral("header slot 1023 (display message) not written back");
    }

    // The list: page 2 up to slot 511, then page 3; the first failed write
    // ends it. A slot counts only once its page has closed well.
    QHash<int, int> positionOfRow; // row index -> MEM_POS_RELATIVA
    int done = 0;
    bool stopped = false;
    const bool modem = m_commands.link().modemConnection();
    for (int page : {int(MemoryMap::kUserPageLow), int(MemoryMap::kUserPageHigh)}) {
        QList<int> pageRows;
        for (int i = 0; i < writes.size(); ++i)
            if (writes[i].page == page)
                pageRows << i;
        if (pageRows.isEmpty() || stopped)
            continue;
        if (!m_commands.Mem_Open_Page(page)) {
            ok = false;
            stopped = true;
            message = QStringLiteral("the central unit did not open user page %1").arg(page);
            break;
        }
        QList<int> written;
        for (int i : std::as_const(pageRows)) {
            const MemoryWrite &mw = writes[i];
            const bool acked = m_commands.Mem_Write(mw.address, mw.bytes) || m_commands.Mem_Write(mw.address, mw.bytes);
            if (!acked) {
                ok = false;
                stopped = true;
                message = QStringLiteral("user slot %1 not written; the list stops there").arg(mw.recordIndex);
                break;
            }
            written << i;
            ++done;
            if (m_listener.writeStep)
                m_listener.writeStep(done);
            if (modem && done % 100 == 0)
                m_commands.setBrxIsolation(m_commands.link().settings().Isolate_BRX);
        }
        if (!m_commands.Mem_Close_Page(page)) {
            ok = false;
            stopped = true;
            if (message.isEmpty())
                message = QStringLiteral("user page %1 was not closed").arg(page);
            break;
        }
        for (int i : std::as_const(written))
            positionOfRow.insert(i, MemoryMap::memPosFromSlot(writes[i].recordIndex));
    }
    m_commands.Read_User_Header();

    // The unit was erased: every user's memory position now follows what the
    // unit holds, the slot less one, or none.
    try {
        QHash<qint64, QVariant> positionByUser;
        for (int i = 0; i < rows.size(); ++i) {
            const QVariant pos = positionOfRow.contains(i) ? QVariant(positionOfRow.value(i)) : QVariant();
            positionByUser.insert(rows[i].value(QStringLiteral("AUTO_PK_EN_PLUS")).toLongLong(), pos);
        }
        auto carry = [&](const QString &suffix, const QString &keyField) {
            Table t(run.request.folder, tableFile(run.prefix, suffix));
            t.open();
            t.beginTransaction();
            try {
                for (t.first(); !t.eof(); t.next()) {
                    const QVariant pos = positionByUser.value(t.integer(keyField));
                    if (t.value(QStringLiteral("MEM_POS_RELATIVA")) == pos && t.isNull(QStringLiteral("MEM_POS_RELATIVA")) == pos.isNull())
                        continue;
                    t.edit();
                    t.setValue(QStringLiteral("MEM_POS_RELATIVA"), pos);
                    t.post();
                }
                t.commit();
            } catch (...) {
                if (t.state() != Table::State::Browse)
                    t.cancel();
                t.rollback();
                throw;
            }
        };
        carry(QStringLiteral("_AXOUSR"), QStringLiteral("AUTO_PK_EN_PLUS"));
        carry(QStringLiteral("_Users"), QStringLiteral("AUTO_PK"));
    } catch (const EngineError &e) {
        ok = false;
        if (message.isEmpty())
            message = QStringLiteral("memory positions not recorded: %1").arg(e.text());
    }
    finish(ok, message);
}
