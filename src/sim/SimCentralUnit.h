#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QVector>

#include "sim/SimFrame.h"

class QTimer;
class SimBus;

// One simulated central unit on the BRX bus.
//
// Memory: configuration memory of 6615 bytes (written on page 1 at 0..6614,
// read in space 0 at 0x4000 + address) and user memory of 1024 slots of 32
// bytes (written on page 2 for slots 0..511 and page 3 for slots 512..1023,
// read in space 1 at slot × 32). Page writes are staged and only take effect
// when the page is closed ('9'); a write with no page open is acknowledged
// but changes nothing.
//
// Users: slots 1..1020 hold users; slot 0 holds the four system codes and
// slot 1023 the display message. A slot whose byte 0 is 0x00 or 0xFF is
// empty. The unit keeps an occupied count: users added on line go after the
// last occupied slot, a user deleted on line leaves a hole, only an erase
// (0x1B ':') resets it.
//
// Login codes come from slot 0 (read code bytes 0-4 → level 'L', read/write
// code 5-9 → 'U', programming code 10-14 → 'E', incidence code 15-19 used by
// 'N'); a code whose first byte is 0x00 or 0xFF is absent and the factory
// code of its kind applies.
class SimCentralUnit : public QObject {
    Q_OBJECT
public:
    enum class Fault {
        None,         // answers normally
        Silent,       // never answers (pushes nothing either)
        Late,         // answers after the fault's delay in ms (on top of the answer delay)
        BadChecksum,  // answers with a wrong checksum
        WrongAddress, // answers from another source address
    };
    enum class Parity { Any, Even, None };
    enum CodeKind { ReadCode = 0, ReadWriteCode = 1, ProgrammingCode = 2, IncidenceCode = 3 };

    static constexpr int kConfigSize = 6615;
    static constexpr int kConfigReadBase = 0x4000;
    static constexpr int kSlotCount = 1024;
    static constexpr int kSlotSize = 32;
    static constexpr int kFirstUserSlot = 1;
    static constexpr int kLastUserSlot = 1020;
    static constexpr int kMaxWrite = 32; // bytes one '8' may carry

    static QByteArray factoryCode(CodeKind kind); // 5 bytes
    static constexpr quint8 kNak = 0x15;          // refusal: bad request, not logged in, not found

    SimCentralUnit(SimBus *bus, int address);
    ~SimCentralUnit() override;
    int address() const { return m_address; }

    // --- answering --------------------------------------------------------
    void setAnswerDelay(int ms) { m_answerDelayMs = ms; }
    int answerDelay() const { return m_answerDelayMs; }
    // Fault for the next `count` frames this unit sends (-1: until changed).
    // param: extra delay in ms for Late (default 3000); source address for
    // WrongAddress (default the next address, modulo 64).
    void setFault(Fault fault, int count = -1, int param = -1);
    Fault fault() const { return m_fault; }
    void setRequiredParity(Parity parity) { m_parity = parity; }
    Parity requiredParity() const { return m_parity; }
    // When set (default), writing commands need a login at level E, L or U.
    void setRequireLogin(bool require) { m_requireLogin = require; }

    // --- identity and settings -----------------------------------------------
    void setVersion(const QByteArray &twoChars) { m_version = twoChars.left(2); } // empty: no version in the login answer
    QByteArray version() const { return m_version; }
    void setCode(CodeKind kind, const QByteArray &code); // padded on the right with spaces to 5
    QByteArray code(CodeKind kind) const;                // the code in force (factory when absent)
    void setProgrammingCode(const QByteArray &code) { setCode(ProgrammingCode, code); }
    char loginLevel() const { return m_level; } // 0 when nobody is logged in
    int digits() const { return m_digits; }
    void setDigits(int digits) { m_digits = quint8(digits); }
    quint8 audioFirst() const { return m_audio[0]; }
    quint8 audioSecond() const { return m_audio[1]; }
    void setAudioTiming(quint8 first, quint8 second) { m_audio[0] = first; m_audio[1] = second; }
    quint8 isolation() const { return m_isolation; }
    QByteArray dateTimeBytes() const { return m_dateTime; } // the 7 bytes of the last 'P'
    QDateTime dateTime() const;                             // null until set by 'P'
    QMap<int, QByteArray> parameters() const { return m_parameters; } // 'S'
    int restarts() const { return m_restarts; }

    // --- memory -------------------------------------------------------------
    QByteArray config(int address, int length) const;
    void setConfig(int address, const QByteArray &bytes); // direct set-up, no transaction
    QByteArray configMemory() const { return m_config; }
    QByteArray slot(int n) const;
    void setSlot(int n, const QByteArray &record); // direct set-up; a user slot raises the occupied count
    QByteArray userMemory() const { return m_users; } // 1024 × 32 bytes
    static bool slotEmpty(const QByteArray &record);
    int userCount() const;
    int occupiedSlots() const { return m_occupied; }
    void setOccupiedSlots(int n) { m_occupied = qBound(0, n, kLastUserSlot); }
    void eraseUsers(); // what 0x1B ':' does
    int openPage() const { return m_openPage; } // 0 when none
    quint8 ramByte(quint16 address) const { return m_ram.value(address, 0); }
    void setRamByte(quint16 address, quint8 value) { m_ram.insert(address, value); }
    void setUserZone(quint16 userNumber, quint8 zone) { m_zones.insert(userNumber, zone); } // default 0xFF

    struct MemoryWrite {
        quint8 command = 0; // '8', '0', 'b' or '1'
        int page = 0;       // page written (2 or 3 for user slots), 0 when none was open
        int address = 0;    // address inside the page
        int slot = -1;      // user slot for user operations and user pages, else -1
        QByteArray bytes;
        bool applied = false; // false: refused, or staged in no open page, or discarded
    };
    QVector<MemoryWrite> writeLog() const { return m_writeLog; }
    void clearWriteLog() { m_writeLog.clear(); }

    // --- devices for the tests '(' and '*' -------------------------------------
    void setDecoderDevice(quint16 code, bool present); // code = the two device bytes, high first
    void setAccessPointFailing(int accessPoint, bool failing);

    // --- incidences -----------------------------------------------------------
    // An incidence record: type, day, month, year, hour, minute (BCD), params.
    static QByteArray incidenceRecord(quint8 type, const QDateTime &when, const QByteArray &params = {});
    // Pushed to the PC while it is registered and the output is on, else stored.
    void addIncidence(const QByteArray &record);
    QList<QByteArray> storedIncidences() const { return m_stored; }
    QList<QByteArray> pendingIncidences() const { return m_pending; } // waiting to be pushed / acknowledged
    bool pcRegistered() const { return m_pcRegistered; }
    bool incidenceOutput() const { return m_output; }
    void setIncidenceRepeatInterval(int ms) { m_repeatMs = ms; } // default 500
    qint64 incidenceFramesSent() const { return m_pushFrames; }

    // --- traffic ----------------------------------------------------------------
    QVector<SimFrame> received() const { return m_received; } // frames meant for this unit
    void clearReceived() { m_received.clear(); }
    qint64 framesSent() const { return m_framesSent; }

    // Called by the bus for every frame to this unit or to all units.
    void handleFrame(const SimFrame &frame, bool broadcast, bool parityOk);

signals:
    void frameReceived(const SimFrame &frame);
    void memoryWritten(const SimCentralUnit::MemoryWrite &write);

private:
    void answer(quint8 to, const QByteArray &data, bool broadcast);
    void send(quint8 to, const QByteArray &data, int extraDelay = 0);
    QByteArray process(const SimFrame &frame, bool &reply);
    bool writeAllowed() const;
    void logWrite(const MemoryWrite &write);
    void schedulePush(int delayMs);
    void pushNow();
    void stopPushing();
    int pageSize(int page) const;
    QByteArray *pageBuffer(int page, int &offset);
    void commitPage(int page);

    SimBus *m_bus;
    int m_address;
    int m_answerDelayMs = 0;
    Fault m_fault = Fault::None;
    int m_faultCount = -1;
    int m_faultParam = -1;
    Parity m_parity = Parity::Any;
    bool m_requireLogin = true;

    QByteArray m_version = "21";
    char m_level = 0;
    quint8 m_digits = 6;
    quint8 m_audio[2] = {10, 20};
    quint8 m_isolation = 0;
    QByteArray m_dateTime;
    QMap<int, QByteArray> m_parameters;
    int m_restarts = 0;

    QByteArray m_config;
    QByteArray m_users;
    int m_occupied = 0;
    int m_openPage = 0;
    QByteArray m_staging; // copy of the open page's memory
    QVector<int> m_stagedLog; // write-log entries waiting for the page to close
    QHash<quint16, quint8> m_ram;
    QHash<quint16, quint8> m_zones;
    QVector<MemoryWrite> m_writeLog;

    QSet<quint16> m_devices;
    QSet<int> m_failingAccess;

    QList<QByteArray> m_stored;
    QList<QByteArray> m_pending;
    bool m_pcRegistered = false;
    bool m_output = true;
    enum class AwaitingAck { None, Push, Stored };
    AwaitingAck m_awaiting = AwaitingAck::None;
    int m_repeatMs = 500;
    QTimer *m_pushTimer = nullptr;
    qint64 m_pushFrames = 0;

    QVector<SimFrame> m_received;
    qint64 m_framesSent = 0;
};
