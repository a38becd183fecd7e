#include "sim/SimCentralUnit.h"

#include <QTimer>

#include <utility>

#include "sim/SimBus.h"

namespace {
constexpr quint8 kAck = 0x06;
constexpr quint8 kPcAddress = SimFrameCodec::kPcAddress;

quint16 be16(const QByteArray &b, int at)
{
    return quint16((quint8(b.at(at)) << 8) | quint8(b.at(at + 1)));
}

void appendBe16(QByteArray &b, int value)
{
    b.append(char((value >> 8) & 0xFF));
    b.append(char(value & 0xFF));
}

char bcd(int value)
{
    return char(((value / 10) << 4) | (value % 10));
}

// -1 when the byte is not two decimal digits.
int fromBcd(quint8 b)
{
    if ((b >> 4) > 9 || (b & 0x0F) > 9)
        return -1;
    return (b >> 4) * 10 + (b & 0x0F);
}

QByteArray padCode(const QByteArray &code)
{
    QByteArray c = code.left(5);
    while (c.size() < 5)
        c.append(' ');
    return c;
}

bool isUserSlot(int slot)
{
    return slot >= SimCentralUnit::kFirstUserSlot && slot <= SimCentralUnit::kLastUserSlot;
}
} // namespace

QByteArray SimCentralUnit::factoryCode(CodeKind kind)
{
    switch (kind) {
    case ReadCode:
        return QByteArrayLiteral("RDK  ");
    case ReadWriteCode:
        return QByteArrayLiteral("QTZLM");
    case ProgrammingCode:
        return QByteArrayLiteral("24680");
    case IncidenceCode:
        return QByteArrayLiteral("13579");
    }
    return {};
}

SimCentralUnit::SimCentralUnit(SimBus *bus, int address)
    : QObject(bus), m_bus(bus), m_address(address), m_config(kConfigSize, char(0xFF)),
      m_users(kSlotCount * kSlotSize, char(0xFF))
{
    m_pushTimer = new QTimer(this);
    m_pushTimer->setSingleShot(true);
    connect(m_pushTimer, &QTimer::timeout, this, &SimCentralUnit::pushNow);
    for (int k = ReadCode; k <= IncidenceCode; ++k)
        setCode(CodeKind(k), factoryCode(CodeKind(k)));
}

SimCentralUnit::~SimCentralUnit() = default;

void SimCentralUnit::setFault(Fault fault, int count, int param)
{
    m_fault = fault;
    m_faultCount = fault == Fault::None ? -1 : count;
    m_faultParam = param;
}

// --- codes and identity ---------------------------------------------------------

void SimCentralUnit::setCode(CodeKind kind, const QByteArray &code)
{
    m_users.replace(int(kind) * 5, 5, padCode(code));
}

QByteArray SimCentralUnit::code(CodeKind kind) const
{
    const QByteArray stored = m_users.mid(int(kind) * 5, 5);
    const quint8 first = quint8(stored.at(0));
    if (first == 0x00 || first == 0xFF)
        return factoryCode(kind);
    return stored;
}

QDateTime SimCentralUnit::dateTime() const
{
    if (m_dateTime.size() < 6)
        return {};
    const int year = fromBcd(quint8(m_dateTime.at(0)));
    const int month = fromBcd(quint8(m_dateTime.at(2)));
    const int day = fromBcd(quint8(m_dateTime.at(3)));
    const int hour = fromBcd(quint8(m_dateTime.at(4)));
    const int minute = fromBcd(quint8(m_dateTime.at(5)));
    return QDateTime(QDate(2000 + year, month, day), QTime(hour, minute));
}

// --- memory ----------------------------------------------------------------------

QByteArray SimCentralUnit::config(int address, int length) const
{
    if (address < 0 || length < 0 || address + length > kConfigSize)
        return {};
    return m_config.mid(address, length);
}

void SimCentralUnit::setConfig(int address, const QByteArray &bytes)
{
    if (address < 0 || address + bytes.size() > kConfigSize)
        return;
    m_config.replace(address, bytes.size(), bytes);
}

QByteArray SimCentralUnit::slot(int n) const
{
    if (n < 0 || n >= kSlotCount)
        return {};
    return m_users.mid(n * kSlotSize, kSlotSize);
}

void SimCentralUnit::setSlot(int n, const QByteArray &record)
{
    if (n < 0 || n >= kSlotCount)
        return;
    QByteArray r = record.left(kSlotSize);
    while (r.size() < kSlotSize)
        r.append(char(0xFF));
    m_users.replace(n * kSlotSize, kSlotSize, r);
    if (isUserSlot(n) && !slotEmpty(r))
        m_occupied = qMax(m_occupied, n);
}

bool SimCentralUnit::slotEmpty(const QByteArray &record)
{
    if (record.isEmpty())
        return true;
    const quint8 first = quint8(record.at(0));
    return first == 0x00 || first == 0xFF;
}

int SimCentralUnit::userCount() const
{
    int n = 0;
    for (int s = kFirstUserSlot; s <= kLastUserSlot; ++s)
        if (!slotEmpty(m_users.mid(s * kSlotSize, 1)))
            ++n;
    return n;
}

void SimCentralUnit::eraseUsers()
{
    m_users.fill(char(0xFF));
    m_occupied = 0;
}

void SimCentralUnit::setDecoderDevice(quint16 code, bool present)
{
    if (present)
        m_devices.insert(code);
    else
        m_devices.remove(code);
}

void SimCentralUnit::setAccessPointFailing(int accessPoint, bool failing)
{
    if (failing)
        m_failingAccess.insert(accessPoint);
    else
        m_failingAccess.remove(accessPoint);
}

int SimCentralUnit::pageSize(int page) const
{
    switch (page) {
    case 1:
        return kConfigSize;
    case 2:
    case 3:
        return kSlotCount * kSlotSize / 2;
    default:
        return 0;
    }
}

void SimCentralUnit::commitPage(int page)
{
    if (page == 1) {
        m_config = m_staging;
    } else {
        const int base = (page - 2) * pageSize(2);
        m_users.replace(base, m_staging.size(), m_staging);
        for (int idx : std::as_const(m_stagedLog)) {
            const MemoryWrite &w = m_writeLog.at(idx);
            const int first = (base + w.address) / kSlotSize;
            const int last = (base + w.address + w.bytes.size() - 1) / kSlotSize;
            for (int s = first; s <= last; ++s)
                if (isUserSlot(s) && !slotEmpty(slot(s)))
                    m_occupied = qMax(m_occupied, s);
        }
    }
    for (int idx : std::as_const(m_stagedLog))
        m_writeLog[idx].applied = true;
    m_stagedLog.clear();
    m_staging.clear();
    m_openPage = 0;
}

void SimCentralUnit::logWrite(const MemoryWrite &write)
{
    m_writeLog.append(write);
    emit memoryWritten(write);
}

bool SimCentralUnit::writeAllowed() const
{
    return !m_requireLogin || m_level == 'E' || m_level == 'L' || m_level == 'U';
}

// --- incidences ------------------------------------------------------------------

QByteArray SimCentralUnit::incidenceRecord(quint8 type, const QDateTime &when, const QByteArray &params)
{
    QByteArray r;
    r.append(char(type));
    r.append(bcd(when.date().day()));
    r.append(bcd(when.date().month()));
    r.append(bcd(when.date().year() % 100));
    r.append(bcd(when.time().hour()));
    r.append(bcd(when.time().minute()));
    r.append(params);
    return r;
}

void SimCentralUnit::addIncidence(const QByteArray &record)
{
    if (m_pcRegistered && m_output) {
        m_pending.append(record);
        if (m_awaiting != AwaitingAck::Push && !m_pushTimer->isActive())
            schedulePush(0);
    } else {
        m_stored.append(record);
    }
}

void SimCentralUnit::schedulePush(int delayMs)
{
    m_pushTimer->start(qMax(0, delayMs));
}

void SimCentralUnit::pushNow()
{
    if (!m_pcRegistered || !m_output || m_pending.isEmpty()) {
        m_awaiting = m_awaiting == AwaitingAck::Push ? AwaitingAck::None : m_awaiting;
        return;
    }
    m_awaiting = AwaitingAck::Push;
    ++m_pushFrames;
    send(kPcAddress, QByteArray(1, 'H') + m_pending.first());
    // Repeated until the PC acknowledges it.
    m_pushTimer->start(qMax(1, m_repeatMs));
}

void SimCentralUnit::stopPushing()
{
    m_pushTimer->stop();
    // What was not acknowledged stays in the unit, to be downloaded later.
    m_stored.append(m_pending);
    m_pending.clear();
    if (m_awaiting == AwaitingAck::Push)
        m_awaiting = AwaitingAck::None;
}

// --- the line ---------------------------------------------------------------------

void SimCentralUnit::send(quint8 to, const QByteArray &data, int extraDelay)
{
    Fault f = m_fault;
    const int param = m_faultParam;
    if (m_faultCount == 0) {
        f = Fault::None;
    } else if (m_faultCount > 0 && --m_faultCount == 0) {
        m_fault = Fault::None;
        m_faultCount = -1;
    }
    if (f == Fault::Silent)
        return;
    int delay = m_answerDelayMs + extraDelay;
    if (f == Fault::Late)
        delay += param >= 0 ? param : 3000;
    quint8 source = quint8(m_address);
    if (f == Fault::WrongAddress)
        source = quint8(param >= 0 ? param : (m_address + 1) % 64);
    ++m_framesSent;
    m_bus->sendToPc(SimFrameCodec::encode(to, source, data, m_bus->secondEtx(), f == Fault::BadChecksum),
                    delay);
}

void SimCentralUnit::handleFrame(const SimFrame &frame, bool broadcast, bool parityOk)
{
    if (!parityOk)
        return; // the unit cannot read a line set to the wrong parity
    m_received.append(frame);
    emit frameReceived(frame);
    bool reply = false;
    const QByteArray answer = process(frame, reply);
    // Nobody answers a frame meant for all units: the answers would collide.
    if (reply && !broadcast)
        send(frame.source, answer);
}

QByteArray SimCentralUnit::process(const SimFrame &frame, bool &reply)
{
    reply = true;
    const QByteArray nak(1, char(kNak));
    const QByteArray ack(1, char(kAck));
    const QByteArray p = frame.params();
    const quint8 command = frame.code();

    switch (command) {
    case 0x01: // are you there
        return ack;

    case 0x06: // the PC acknowledges what this unit sent last
        reply = false;
        if (m_awaiting == AwaitingAck::Push) {
            m_pushTimer->stop();
            if (!m_pending.isEmpty())
                m_pending.removeFirst();
            m_awaiting = AwaitingAck::None;
            if (!m_pending.isEmpty())
                schedulePush(m_answerDelayMs + 20);
        } else if (m_awaiting == AwaitingAck::Stored) {
            if (!m_stored.isEmpty())
                m_stored.removeFirst();
            m_awaiting = AwaitingAck::None;
        }
        return {};

    case 0x19: { // user-memory counters
        QByteArray a(1, 0x1A);
        appendBe16(a, userCount());
        appendBe16(a, m_occupied);
        return a;
    }

    case 0x1B: // erase users
        if (p != ":" || !writeAllowed())
            return nak;
        eraseUsers();
        return ack;

    case 0x1E:
        return QByteArray(1, 0x1F) + char(m_digits);

    case '&':
        if (p.size() != 1 || !writeAllowed())
            return nak;
        m_digits = quint8(p.at(0));
        return ack;

    case '(': { // test a device on the decoder bus
        if (p.size() != 4 || p.at(0) != 'p')
            return nak;
        if (!m_devices.contains(be16(p, 2))) {
            reply = false; // the device did not answer, so neither does the unit
            return {};
        }
        return QByteArray(1, ')');
    }

    case '*': // test an access point or guard unit
        if (p.size() != 3)
            return nak;
        return QByteArray(1, char(m_failingAccess.contains(quint8(p.at(0))) ? 0x16 : kAck));

    case ',':
        return QByteArray(1, 'L') + char(m_audio[0]) + char(m_audio[1]);

    case '-':
        if (p.size() != 2 || !writeAllowed())
            return nak;
        m_audio[0] = quint8(p.at(0));
        m_audio[1] = quint8(p.at(1));
        return ack;

    case '0': { // insert a user after the last occupied slot
        MemoryWrite w{'0', 0, 0, -1, p, false};
        if (p.size() != kSlotSize || !writeAllowed() || m_occupied >= kLastUserSlot) {
            logWrite(w);
            return nak;
        }
        const int s = m_occupied + 1;
        m_users.replace(s * kSlotSize, kSlotSize, p);
        m_occupied = s;
        w.slot = s;
        w.page = s < 512 ? 2 : 3;
        w.address = (s % 512) * kSlotSize;
        w.applied = true;
        logWrite(w);
        return QByteArray(1, 0x40);
    }

    case '1': { // delete the user at a slot, leaving a hole
        if (p.size() != 2 || !writeAllowed())
            return nak;
        const int s = be16(p, 0);
        MemoryWrite w{'1', s < 512 ? 2 : 3, (s % 512) * kSlotSize, s, QByteArray(kSlotSize, char(0xFF)), false};
        if (!isUserSlot(s) || s > m_occupied) {
            logWrite(w);
            return nak;
        }
        m_users.replace(s * kSlotSize, kSlotSize, w.bytes);
        w.applied = true;
        logWrite(w);
        return QByteArray(1, 'A');
    }

    case '3': // one byte of RAM
        if (p.size() != 3)
            return nak;
        return QByteArray(1, 'C') + char(ramByte(be16(p, 0)));

    case '7': { // memory read
        if (p.size() != 4)
            return nak;
        const int space = quint8(p.at(0));
        const int address = be16(p, 1);
        const int length = quint8(p.at(3));
        if (length < 1 || length > 253)
            return nak;
        if (space == 0) {
            const int a = address - kConfigReadBase;
            if (a < 0 || a + length > kConfigSize)
                return nak;
            return QByteArray(1, 'G') + m_config.mid(a, length);
        }
        if (space == 1) {
            if (address + length > m_users.size())
                return nak;
            return QByteArray(1, 'G') + m_users.mid(address, length);
        }
        return nak;
    }

    case '8': { // memory write, staged in the open page
        if (p.size() < 3)
            return nak;
        const int address = be16(p, 0);
        const QByteArray bytes = p.mid(2);
        MemoryWrite w{'8', m_openPage, address, -1, bytes, false};
        const int size = m_openPage ? pageSize(m_openPage) : pageSize(1);
        if (bytes.size() > kMaxWrite || address + bytes.size() > size || !writeAllowed()) {
            logWrite(w);
            return nak;
        }
        if (m_openPage >= 2)
            w.slot = ((m_openPage - 2) * 512) + address / kSlotSize;
        logWrite(w);
        if (m_openPage) {
            m_staging.replace(address, bytes.size(), bytes);
            m_stagedLog.append(m_writeLog.size() - 1);
        }
        // With no page open the write is acknowledged but changes nothing.
        return ack;
    }

    case '9': { // close (commit) a page
        if (p.size() != 1 || !writeAllowed())
            return nak;
        const int page = quint8(p.at(0));
        if (m_openPage == 0)
            return ack; // nothing staged
        if (page != m_openPage)
            return nak;
        commitPage(page);
        return ack;
    }

    case ';': { // login
        const QByteArray c = padCode(p);
        char level = 'X';
        if (c == code(ProgrammingCode))
            level = 'E';
        else if (c == code(ReadWriteCode))
            level = 'U';
        else if (c == code(ReadCode))
            level = 'L';
        m_level = level == 'X' ? 0 : level;
        QByteArray a = QByteArray(1, '<') + level;
        if (level != 'X')
            a += m_version;
        return a;
    }

    case '=': // logout; what is staged and not committed is lost
        m_level = 0;
        m_openPage = 0;
        m_staging.clear();
        m_stagedLog.clear();
        return ack;

    case 'I': // next stored incidence
        if (m_stored.isEmpty())
            return ack;
        m_awaiting = AwaitingAck::Stored;
        return QByteArray(1, 'H') + m_stored.first();

    case 'J': // restart
        if (!writeAllowed())
            return nak;
        ++m_restarts;
        m_level = 0;
        m_openPage = 0;
        m_staging.clear();
        m_stagedLog.clear();
        return ack;

    case 'K': { // open a page
        if (p.size() != 1 || !writeAllowed())
            return nak;
        const int page = quint8(p.at(0));
        if (pageSize(page) == 0)
            return nak;
        // Opening a page drops what another open page had staged.
        m_stagedLog.clear();
        m_openPage = page;
        m_staging = page == 1 ? m_config : m_users.mid((page - 2) * pageSize(2), pageSize(2));
        return ack;
    }

    case 'N': { // PC and incidence output registration
        if (p.size() != 6 || quint8(p.at(0)) > 3)
            return nak;
        if (p.mid(1, 5) != code(IncidenceCode))
            return nak;
        switch (p.at(0)) {
        case 0:
            m_pcRegistered = false;
            stopPushing();
            break;
        case 1:
            m_pcRegistered = true;
            if (m_output && !m_pending.isEmpty())
                schedulePush(m_answerDelayMs + 20);
            break;
        case 2:
            m_output = false;
            stopPushing();
            break;
        case 3:
            m_output = true;
            if (m_pcRegistered && !m_pending.isEmpty())
                schedulePush(m_answerDelayMs + 20);
            break;
        }
        return ack;
    }

    case 'O': // clear stored incidences
        m_stored.clear();
        if (m_awaiting == AwaitingAck::Stored)
            m_awaiting = AwaitingAck::None;
        return ack;

    case 'P': { // date and time
        if (p.size() != 7 || !writeAllowed())
            return nak;
        const int year = fromBcd(quint8(p.at(0)));
        const int weekday = fromBcd(quint8(p.at(1)));
        const int month = fromBcd(quint8(p.at(2)));
        const int day = fromBcd(quint8(p.at(3)));
        const int hour = fromBcd(quint8(p.at(4)));
        const int minute = fromBcd(quint8(p.at(5)));
        if (year < 0 || weekday < 1 || weekday > 7 || !QDate(2000 + year, qMax(month, 0), qMax(day, 0)).isValid()
            || hour < 0 || hour > 23 || minute < 0 || minute > 59)
            return nak;
        m_dateTime = p;
        return ack;
    }

    case 'S': // a parameter
        if (p.isEmpty() || !writeAllowed())
            return nak;
        m_parameters.insert(quint8(p.at(0)), p.mid(1));
        return ack;

    case 'Y': { // where is a user stored, and where is the user
        if (p.size() != 2)
            return nak;
        const quint16 number = be16(p, 0);
        for (int s = kFirstUserSlot; s <= m_occupied; ++s) {
            const QByteArray r = slot(s);
            if (!slotEmpty(r) && be16(r, 30) == number) {
                QByteArray a(1, 'Z');
                a.append(char(m_zones.value(number, 0xFF)));
                appendBe16(a, s);
                return a;
            }
        }
        return nak;
    }

    case 'b': { // overwrite the user at a slot
        if (p.size() != 2 + kSlotSize || !writeAllowed())
            return nak;
        const int s = be16(p, 0);
        MemoryWrite w{'b', s < 512 ? 2 : 3, (s % 512) * kSlotSize, s, p.mid(2), false};
        if (!isUserSlot(s)) {
            logWrite(w);
            return nak;
        }
        m_users.replace(s * kSlotSize, kSlotSize, w.bytes);
        if (!slotEmpty(w.bytes))
            m_occupied = qMax(m_occupied, s);
        w.applied = true;
        logWrite(w);
        return ack;
    }

    case 'c': // BRX isolation
        if (p.size() != 1)
            return nak;
        m_isolation = quint8(p.at(0));
        return ack;

    default:
        return nak; // a command this unit does not know
    }
}
