#include "transfer/Receive.h"

#include "frame/Lang.h"
#include "link/CuCommands.h"
#include "store/UserCodes.h"
#include "store/engine/EngineError.h"
#include "store/engine/Table.h"
#include "transfer/MemoryMap.h"
#include "transfer/RecordDecoders.h"
#include "transfer/UserRecord.h"

#include <QMap>

namespace Receive {

namespace {

QString tableFile(const QString &prefix, const QString &suffix) { return prefix + suffix + QStringLiteral(".db"); }

// Runs `body` on an open table inside one transaction; rollback on error.
void inTransaction(Table &t, const std::function<void()> &body)
{
    t.beginTransaction();
    try {
        body();
        t.commit();
    } catch (...) {
        if (t.state() != Table::State::Browse)
            t.cancel();
        t.rollback();
        throw;
    }
}

struct ExtractedUser {
    int slot = 0;
    UserRecord::Fields fields;
};

// A time of four digits read back: empty when its hours are above 23 or
// its minutes above 59 (an unset time reads as 0xFF 0xFF or as garbage).
QVariant validTime(const QVariant &v)
{
    const QString t = v.toString();
    if (t.size() != 4 || t.left(2) > QLatin1String("23") || t.mid(2) > QLatin1String("59"))
        return QVariant();
    return t;
}

} // namespace

ExtractResult extractUsers(CuCommands &commands, const QString &folder, const QString &prefix, const ExtractProgress &progress)
{
    ExtractResult r;
    const UserHeader &header = commands.userHeader();
    int occupied = header.valid ? header.occupiedCount : MemoryMap::kNoMemoryPosition;
    if (!header.valid || occupied > MemoryMap::kUnitCapacity) {
        commands.Read_User_Header();
        occupied = commands.userHeader().valid ? commands.userHeader().occupiedCount : MemoryMap::kNoMemoryPosition;
    }
    if (!commands.userHeader().valid || occupied == MemoryMap::kNoMemoryPosition) {
        r.message = QStringLiteral("the central unit did not give its user counts");
        return r;
    }
    occupied = qMin(occupied, MemoryMap::kUnitCapacity);
    if (progress.started)
        progress.started(occupied);

    QList<ExtractedUser> users;
    int unansweredInARow = 0;
    for (int slot = occupied; slot >= MemoryMap::kFirstUserSlot; --slot) {
        ++r.total;
        QString name, number, code;
        if (slot > MemoryMap::kLastUserSlot) {
            ++r.errorSlots;
            ++r.holes;
            name = QStringLiteral("[ERROR]");
        } else {
            QByteArray data;
            if (!commands.Mem_Read(MemoryMap::kUserReadSpace, MemoryMap::userSlotReadAddress(slot), MemoryMap::kUserSlotSize, &data)
                || data.size() != MemoryMap::kUserSlotSize) {
                ++r.timedOut;
                ++r.holes;
                name = QStringLiteral("Tout");
                if (++unansweredInARow >= 3) {
                    r.message = QStringLiteral("the central unit stopped answering at slot %1; the users were not changed").arg(slot);
                    return r;
                }
            } else if (const std::optional<UserRecord::Fields> f = UserRecord::decode(data)) {
                unansweredInARow = 0;
                users << ExtractedUser{slot, *f};
                ++r.users;
                name = f->name;
                number = f->userNumber >= 0 ? QStringLiteral("%1").arg(f->userNumber, 5, 10, QLatin1Char('0')) : QString();
                code = f->code;
            } else {
                unansweredInARow = 0;
                ++r.holes;
            }
        }
        if (progress.slot)
            progress.slot(r.users, r.holes, r.total, name, number, code);
    }
    if (r.timedOut > 0) {
        r.message = QStringLiteral("%1 slot(s) could not be read; the users were not changed").arg(r.timedOut);
        return r;
    }
    if (occupied == 0) {
        r.ok = true;
        return r;
    }
    try {
        Table t(folder, tableFile(prefix, QStringLiteral("_Users")));
        t.open();
        inTransaction(t, [&] {
            t.emptyTable();
            for (const ExtractedUser &u : std::as_const(users)) {
                const UserRecord::Fields &f = u.fields;
                t.append();
                t.setInteger(QStringLiteral("MEM_POS_RELATIVA"), MemoryMap::memPosFromSlot(u.slot));
                t.setText(QStringLiteral("NOMBRE"), f.name);
                t.setText(QStringLiteral("PISO_USR"), f.floor);
                t.setText(QStringLiteral("PTA_PIN"), f.door);
                if (f.codeKind != UserRecord::CodeKind::None && !f.code.isEmpty()) {
                    t.setText(QStringLiteral("CODIGO"), f.code);
                    t.setText(QStringLiteral("TIPO_USR"), UserCodes::kindText(f.code));
                }
                if (!f.device.isEmpty()) {
                    const QChar first = f.device.at(0).toUpper();
                    if (first == QLatin1Char('A')) {
                        t.setText(QStringLiteral("DISPOSITIVO"), f.device.mid(1, 3));
                        t.setText(QStringLiteral("TIPO_DISPOSITIVO"), Lang::word(QStringLiteral("SEN")));
                    } else if (first == QLatin1Char('B')) {
                        t.setText(QStringLiteral("DISPOSITIVO"), f.device.mid(1, 3));
                        t.setText(QStringLiteral("TIPO_DISPOSITIVO"), Lang::word(QStringLiteral("REL")));
                    } else if (first.isDigit()) {
                        t.setText(QStringLiteral("DISPOSITIVO"), f.device);
                        t.setText(QStringLiteral("TIPO_DISPOSITIVO"), Lang::word(QStringLiteral("APA")));
                    }
                }
                t.setInteger(QStringLiteral("PERFIL"), f.level);
                if (f.hasLift())
                    t.setInteger(QStringLiteral("ASCENSOR"), f.lift);
                t.setBoolean(QStringLiteral("DESB"), f.unlock);
                if (f.userNumber >= 0)
                    t.setText(QStringLiteral("N_USUARIO"), QStringLiteral("%1").arg(f.userNumber, 5, 10, QLatin1Char('0')));
                t.post();
            }
        });
    } catch (const EngineError &e) {
        r.message = e.text();
        return r;
    }
    r.ok = true;
    return r;
}

ConfigResult receiveConfiguration(CuCommands &commands, const QString &folder, const QString &prefix,
                                  const std::function<void(const QString &, int)> &progress)
{
    ConfigResult r;
    QStringList problems;

    // Reads every record of a kind; unanswered records are absent from the map.
    auto readAll = [&](RecordKind kind) {
        QMap<int, QByteArray> records;
        const MemoryMap::Region &region = MemoryMap::region(kind);
        for (int i = 0; i < region.count; ++i) {
            QByteArray data;
            if (commands.Mem_Read(MemoryMap::kConfigReadSpace, MemoryMap::readAddress(region.address(i)), region.size, &data)
                && data.size() == region.size)
                records.insert(i, data);
        }
        return records;
    };

    // --- scheduler -------------------------------------------------------------
    if (progress)
        progress(Lang::word(QStringLiteral("SCH")), 0);
    const QMap<int, QByteArray> plans = readAll(RecordKind::Scheduler);
    r.schedulerRead = int(plans.size());
    if (plans.isEmpty()) {
        problems << QStringLiteral("no scheduler record was answered");
    } else {
        try {
            QMap<int, ImageRow> rows;
            for (auto it = plans.constBegin(); it != plans.constEnd(); ++it) {
                ImageRow row = RecordDecoders::decode(RecordKind::Scheduler, it.value());
                row.set(QStringLiteral("START"), validTime(row.value(QStringLiteral("START"))));
                row.set(QStringLiteral("END"), validTime(row.value(QStringLiteral("END"))));
                rows.insert(it.key(), row);
            }
            static const char *const imageFlags[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU", "HOLIDAY", "SINCRO"};
            static const char *const tableFlags[] = {"LU", "MA", "MI", "JU", "VI", "SA", "DO", "HOLIDAYS", "SINCRO"};
            Table image(folder, tableFile(prefix, QStringLiteral("_AXOSCH")));
            image.open();
            inTransaction(image, [&] {
                for (image.first(); !image.eof(); image.next()) {
                    const int nr = int(image.integer(QStringLiteral("NR")));
                    const bool answered = rows.contains(nr);
                    const ImageRow row = rows.value(nr);
                    image.edit();
                    for (const char *f : {"DESC", "DEVICE", "START", "END"})
                        image.setValue(QLatin1String(f), answered ? QVariant(row.text(QLatin1String(f))) : QVariant());
                    for (const char *f : imageFlags)
                        image.setBoolean(QLatin1String(f), answered && row.value(QLatin1String(f)).toBool());
                    image.post();
                }
            });
            Table plansTable(folder, tableFile(prefix, QStringLiteral("_Scheduler")));
            plansTable.open();
            inTransaction(plansTable, [&] {
                for (plansTable.first(); !plansTable.eof();) {
                    if (rows.contains(int(plansTable.integer(QStringLiteral("NUMERO")))))
                        plansTable.deleteRecord();
                    else
                        plansTable.next();
                }
                for (auto it = rows.constBegin(); it != rows.constEnd(); ++it) {
                    const ImageRow &row = it.value();
                    const QString device = row.text(QStringLiteral("DEVICE"));
                    if (device.isEmpty())
                        continue;
                    plansTable.append();
                    plansTable.setInteger(QStringLiteral("NUMERO"), it.key());
                    plansTable.setText(QStringLiteral("DESCRIPCION"), row.text(QStringLiteral("DESC")));
                    plansTable.setText(QStringLiteral("START"), row.text(QStringLiteral("START")));
                    plansTable.setText(QStringLiteral("END"), row.text(QStringLiteral("END")));
                    const bool sensor = device.startsWith(QLatin1Char('A'), Qt::CaseInsensitive);
                    plansTable.setText(QStringLiteral("TIPO_DISPOSITIVO"), Lang::word(sensor ? QStringLiteral("SEN") : QStringLiteral("REL")));
                    plansTable.setText(QStringLiteral("DISPOSITIVO"), device.mid(1, 3));
                    for (int k = 0; k < 9; ++k)
                        plansTable.setBoolean(QLatin1String(tableFlags[k]), row.value(QLatin1String(imageFlags[k])).toBool());
                    plansTable.post();
                    ++r.schedulerImported;
                }
            });
        } catch (const EngineError &e) {
            problems << e.text();
        }
    }

    // --- relay groups ------------------------------------------------------------
    if (progress)
        progress(Lang::word(QStringLiteral("REL")), 1);
    const QMap<int, QByteArray> groups = readAll(RecordKind::RelayGroup);
    r.relaysRead = int(groups.size());
    if (groups.isEmpty()) {
        problems << QStringLiteral("no relay group record was answered");
    } else {
        try {
            QMap<int, ImageRow> rows;
            for (auto it = groups.constBegin(); it != groups.constEnd(); ++it) {
                ImageRow row = RecordDecoders::decode(RecordKind::RelayGroup, it.value());
                row.set(QStringLiteral("INIT"), quint8(it.value().at(18)) != 0 ? QStringLiteral("1") : QStringLiteral("0"));
                rows.insert(it.key(), row);
            }
            Table image(folder, tableFile(prefix, QStringLiteral("_AXOREL")));
            image.open();
            inTransaction(image, [&] {
                for (image.first(); !image.eof(); image.next()) {
                    const int nr = int(image.integer(QStringLiteral("NR")));
                    const bool answered = rows.contains(nr);
                    const ImageRow row = rows.value(nr);
                    image.edit();
                    image.setValue(QStringLiteral("DESC"), answered ? QVariant(row.text(QStringLiteral("DESC"))) : QVariant());
                    image.setValue(QStringLiteral("TIME"), answered ? QVariant(row.text(QStringLiteral("TIME"))) : QVariant());
                    image.setBoolean(QStringLiteral("VALID"), answered && row.value(QStringLiteral("VALID")).toBool());
                    image.setText(QStringLiteral("INIT"), answered ? row.text(QStringLiteral("INIT")) : QStringLiteral("0"));
                    image.post();
                }
            });
            Table rele(folder, tableFile(prefix, QStringLiteral("_Rele")));
            rele.open();
            inTransaction(rele, [&] {
                for (rele.first(); !rele.eof();) {
                    if (rows.contains(int(rele.integer(QStringLiteral("GRUPO")))))
                        rele.deleteRecord();
                    else
                        rele.next();
                }
                for (auto it = rows.constBegin(); it != rows.constEnd(); ++it) {
                    const ImageRow &row = it.value();
                    if (row.isEmpty(QStringLiteral("TIME")))
                        continue;
                    rele.append();
                    rele.setInteger(QStringLiteral("GRUPO"), it.key());
                    rele.setText(QStringLiteral("DESCRIPCION"), row.text(QStringLiteral("DESC")));
                    rele.setBoolean(QStringLiteral("VALIDO"), row.value(QStringLiteral("VALID")).toBool());
                    rele.setInteger(QStringLiteral("TIEMPO"), row.text(QStringLiteral("TIME")).toInt());
                    rele.setText(QStringLiteral("ESTADO"), row.text(QStringLiteral("INIT")) == QLatin1String("1") ? QStringLiteral("On") : QStringLiteral("Off"));
                    rele.post();
                    ++r.relaysImported;
                }
            });
        } catch (const EngineError &e) {
            problems << e.text();
        }
    }
    if (progress)
        progress(QString(), 2);
    r.ok = problems.isEmpty() && r.schedulerRead == 32 && r.relaysRead == 10;
    if (r.schedulerRead < 32 && r.schedulerRead > 0)
        problems << QStringLiteral("%1 of 32 scheduler records answered").arg(r.schedulerRead);
    if (r.relaysRead < 10 && r.relaysRead > 0)
        problems << QStringLiteral("%1 of 10 relay group records answered").arg(r.relaysRead);
    r.message = problems.join(QStringLiteral("; "));
    return r;
}

std::optional<MemoryCounts> userMemory(CuCommands &commands)
{
    MemoryCounts c;
    if (!commands.readUserCounters(&c.users, &c.occupied))
        return std::nullopt;
    return c;
}

} // namespace Receive
