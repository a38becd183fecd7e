#pragma once

#include <QString>

#include <functional>
#include <optional>

class CuCommands;

// Reading a block's data back from its central unit, over a connection the
// caller has opened (CuBracket): the user extraction, the scheduler entries
// and relay groups, and the user-memory counts.
namespace Receive {

struct ExtractProgress {
    std::function<void(int maximum)> started;
    // After each slot: the counters so far and, for a user, its captions.
    std::function<void(int users, int holes, int total, const QString &name, const QString &number, const QString &code)> slot;
};

struct ExtractResult {
    bool ok = false;
    int users = 0;
    int holes = 0;
    int total = 0;
    int errorSlots = 0;   // "[ERROR]": slots above the unit's user memory
    int timedOut = 0;     // "Tout": reads without an answer
    QString message;
};

// The whole user memory becomes the block's `_Users` table: every slot from
// the highest occupied one down to slot 1 is read; a slot holding a user
// becomes a row with its position, the others are counted as holes. The
// table is replaced in one transaction only once every slot was read: a unit
// that stops answering part-way leaves the block's users as they were.
ExtractResult extractUsers(CuCommands &commands, const QString &folder, const QString &prefix,
                           const ExtractProgress &progress = {});

struct ConfigResult {
    bool ok = false;
    int schedulerRead = 0;     // records answered (of 32)
    int schedulerImported = 0; // rows written to _Scheduler
    int relaysRead = 0;        // records answered (of 10)
    int relaysImported = 0;    // rows written to _Rele
    QString message;
};

// The scheduler entries (all 32 records) and relay groups (10) become the
// block's `_Scheduler` and `_Rele`, through `_AXOSCH` and `_AXOREL`. A record
// whose read gets no answer is not imported: the block's row of that number
// is kept as it was. When no record of a kind answers, that table is left
// alone and the result fails.
ConfigResult receiveConfiguration(CuCommands &commands, const QString &folder, const QString &prefix,
                                  const std::function<void(const QString &caption, int step)> &progress = {});

struct MemoryCounts {
    int users = 0;
    int occupied = 0;
    int holes() const { return occupied > users ? occupied - users : 0; }
};
// The counts of request 0x19; nullopt when the unit does not answer.
std::optional<MemoryCounts> userMemory(CuCommands &commands);

} // namespace Receive
