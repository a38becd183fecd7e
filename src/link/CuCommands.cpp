#include "link/CuCommands.h"

using namespace FrameCodec;

namespace {

QByteArray be16(int value)
{
    QByteArray bytes;
    bytes.append(char((value >> 8) & 0xFF));
    bytes.append(char(value & 0xFF));
    return bytes;
}

// A value as two decimal digits read as a hexadecimal pair: 59 -> 0x59.
char bcd(int value)
{
    value = ((value % 100) + 100) % 100;
    return char(((value / 10) << 4) | (value % 10));
}

bool acceptedLevel(char level) { return level == 'E' || level == 'L' || level == 'U'; }

} // namespace

QString CuFailure::commonText()
{
    return QStringLiteral("This situation may produce problems to connect with other central units.");
}

QStringList CuFailure::reasonLines() const
{
    switch (kind) {
    case Kind::NotDetected:
        return {QStringLiteral("The Central Unit is OFF-Line or"), QStringLiteral("the application did not detect it.")};
    case Kind::LoginRefused:
        return {QStringLiteral("The application could not access in program mode.")};
    case Kind::PortError:
        return {portError};
    case Kind::None:
        break;
    }
    return {};
}

CuCommands::CuCommands(Link &link) : m_link(link) {}

void CuCommands::setDetected(int n, bool on)
{
    if (n >= 0 && n < kCuCount)
        m_cus[size_t(n)].detected = on;
}

void CuCommands::clearSelection()
{
    for (CuEntry &entry : m_cus)
        entry.selected = false;
}

void CuCommands::setIncidencePassword(const QString &typed)
{
    QByteArray bytes = typed.trimmed().toUpper().left(5).toLatin1();
    if (bytes.isEmpty())
        bytes = QByteArrayLiteral("*****");
    while (bytes.size() < 5)
        bytes.append('*');
    m_incidencePassword = bytes;
}

uint8_t CuCommands::exchange(const QByteArray &payload, int mode, int cu)
{
    return m_link.Exchange(payload, mode, target(cu));
}

void CuCommands::setLoginParity()
{
    // Over a modem the login goes without parity; on a direct line the
    // setting decides.
    m_link.setSystemParity(m_link.modemLinkUp() ? false : m_link.settings().parityEven());
}

bool CuCommands::ensureCall()
{
    if (!m_link.modemConnection() || m_callRunning)
        return true;
    m_callRunning = m_dialer && m_dialer(m_installation);
    return m_callRunning;
}

// --- programming connection ------------------------------------------------------

QByteArray CuCommands::loginPayload(const QString &code)
{
    QByteArray bytes = code.toLatin1().left(5);
    while (bytes.size() < 5)
        bytes.append(' ');
    return QByteArray(1, ';') + bytes;
}

bool CuCommands::Cu_Login(const QString &code)
{
    setLoginParity();
    if (!ensureCall()) {
        m_level = 'X';
        m_link.setStopFlag(true);
        return false;
    }
    const QByteArray payload = loginPayload(code);
    const uint8_t answer = exchange(payload);
    const QByteArray params = m_link.answerParams();
    if (answer == '<' && !params.isEmpty()) {
        m_level = params[0];
        // Two version characters follow the level when the CU sends them.
        m_version = params.size() >= 3 ? params.mid(1, 2) : QByteArrayLiteral("10");
        if (m_level == 'E')
            m_savedCode = payload.mid(1);
    } else {
        m_level = 'X';
    }
    const bool accepted = acceptedLevel(m_level);
    if (!accepted) {
        exchange(QByteArray(1, '='), 0);
        m_link.setStopFlag(true);
    }
    m_link.Set_Rts_For_Line();
    return accepted;
}

bool CuCommands::loginThroughDialog()
{
    if (!m_codeDialog)
        return false;
    const int cuNumber = m_link.currentCu();
    const std::optional<QString> typed = m_codeDialog(cuNumber);
    if (!typed)
        return false;
    const QByteArray padded = loginPayload(*typed).mid(1);
    const bool ok = Cu_Login(QString::fromLatin1(padded));
    if (ok && m_level == 'E') {
        if (cuNumber < kCuCount) {
            m_cus[size_t(cuNumber)].savedCode = padded;
            m_cus[size_t(cuNumber)].codeNeeded = false;
        }
        m_savedCode = padded;
        m_askCode = false;
    }
    return ok;
}

bool CuCommands::Cu_Connect(const QString &installation, const QString &target, const QList<int> &installationCus)
{
    m_failure = CuFailure{};
    m_installation = installation;
    const int current = m_link.currentCu();
    m_failure.installation = installation;
    m_failure.cu = current;
    m_failure.blockName = current < kCuCount ? m_cus[size_t(current)].name : QString();

    setLoginParity();
    m_link.clearAnswerReceived();
    m_link.setNoAnswerYet(true);

    if (!m_link.modemConnection()) {
        QString error;
        if (!m_link.openSystemPort(m_link.settings().Sys_Port, &error)) {
            m_failure.kind = CuFailure::Kind::PortError;
            m_failure.portError = error;
            return false;
        }
    } else if (!ensureCall()) {
        m_failure.kind = CuFailure::Kind::LoginRefused;
        return false;
    }

    clearSelection();
    if (target.startsWith(QLatin1Char('|'))) {
        if (current < kCuCount)
            m_cus[size_t(current)].selected = true;
    } else {
        for (int n : installationCus) {
            if (n >= 0 && n < kCuCount)
                m_cus[size_t(n)].selected = true;
        }
    }

    if (!detected(current)) {
        m_failure.kind = CuFailure::Kind::NotDetected;
        return false;
    }
    if (!m_cus[size_t(current)].selected)
        return false;

    bool accepted = false;
    if (m_askCode) {
        accepted = loginThroughDialog();
        if (!accepted && m_level != 'X') {
            // Cancelled before anything was sent.
        }
    } else {
        accepted = Cu_Login(QString::fromLatin1(m_savedCode));
    }
    if (accepted && m_level == 'E')
        setBrxIsolation(m_link.settings().Isolate_BRX);
    if (!accepted) {
        m_link.setStopFlag(true);
        m_failure.kind = CuFailure::Kind::LoginRefused;
    }
    m_link.Set_Rts_For_Line();
    if (!accepted)
        return false;

    m_link.Pause_Ms(m_link.settings().connectPauseMs);
    Read_User_Header();
    m_link.clearAnswerReceived();
    m_link.setNoAnswerYet(true);
    m_link.setStopFlag(false);
    return true;
}

void CuCommands::Cu_Logout()
{
    const QByteArray payload = QByteArray(1, '=') + m_savedCode;
    const int current = m_link.currentCu();
    if (current == kAllCus)
        exchange(payload, 0);
    else if (current < kCuCount && (m_cus[size_t(current)].detected || m_cus[size_t(current)].selected))
        exchange(payload, 1);
    setBrxIsolation(0);
    if (!m_link.modemConnection()) {
        m_link.closeSystemPort();
        m_link.setSystemParityFromSettings();
    }
}

bool CuCommands::Pc_On_Off(int function, int cu)
{
    m_link.setSystemParityFromSettings();
    QByteArray payload;
    payload.append('N');
    payload.append(char(function));
    payload.append(m_incidencePassword.left(5));
    const uint8_t answer = exchange(payload, 1, cu);
    if (answer == 0x06)
        return true;
    return cu < 0 && m_link.currentCu() == kAllCus;
}

void CuCommands::setBrxIsolation(int value)
{
    m_link.Exchange(QByteArray(1, 'c') + char(value), 0, kAllCus);
    m_link.Pause_Ms(m_link.settings().isolationSleepMs);
}

// --- memory ------------------------------------------------------------------------

bool CuCommands::Mem_Read(int space, int address, int length, QByteArray *data)
{
    if (length < 0 || length > 255)
        return false;
    QByteArray payload;
    payload.append('7');
    payload.append(char(space));
    payload.append(be16(address));
    payload.append(char(length));
    if (exchange(payload) != 'G')
        return false;
    if (data)
        *data = m_link.answerParams().left(length);
    return true;
}

bool CuCommands::Mem_Open_Page(int page)
{
    m_link.selectLongTimeout(m_link.settings().longTimeoutOpenPageMs);
    return exchange(QByteArray(1, 'K') + char(page)) == 0x06;
}

bool CuCommands::Mem_Write(int address, const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > kMaxPayload - 3)
        return false;
    QByteArray payload;
    payload.reserve(bytes.size() + 3);
    payload.append('8');
    payload.append(be16(address));
    payload.append(bytes);
    return exchange(payload) == 0x06;
}

bool CuCommands::Mem_Close_Page(int page)
{
    m_link.selectLongTimeout(m_link.settings().longTimeoutClosePageMs);
    return exchange(QByteArray(1, '9') + char(page)) == 0x06;
}

bool CuCommands::Write_User_Record(int n, const QByteArray &record)
{
    if (n < 0 || n > 1023 || record.size() != 32)
        return false;
    const int page = userRecordPage(n);
    if (!Mem_Open_Page(page))
        return false;
    const bool written = Mem_Write(userRecordAddress(n), record);
    // The transaction is closed even after a failed write so that the CU
    // does not keep the page open.
    const bool closed = Mem_Close_Page(page);
    return written && closed;
}

bool CuCommands::readUserCounters(int *users, int *occupied)
{
    const bool ok = exchange(QByteArray(1, char(0x19))) == 0x1A && m_link.answerParams().size() >= 4;
    const QByteArray p = m_link.answerParams();
    if (users)
        *users = ok ? (uint8_t(p[0]) << 8 | uint8_t(p[1])) : 0;
    if (occupied)
        *occupied = ok ? (uint8_t(p[2]) << 8 | uint8_t(p[3])) : 8888;
    return ok;
}

bool CuCommands::Read_User_Header()
{
    m_header = UserHeader{};
    if (!readUserCounters(&m_header.userCount, &m_header.occupiedCount))
        return false;
    m_header.valid = true;
    QByteArray record0;
    if (Mem_Read(1, 0, 32, &record0)) {
        record0 = record0.leftJustified(32, char(0xFF), true);
        for (int i = 0; i < 4; ++i) {
            m_header.codes[size_t(i)] = record0.mid(i * 5, 5);
            const auto first = uint8_t(record0[i * 5]);
            m_header.codePresent[size_t(i)] = first != 0 && first != 0xFF;
        }
    }
    const int digits = readCodeDigits();
    m_header.codeDigits = digits < 0 ? 6 : digits;
    QByteArray message;
    if (Mem_Read(1, 1023 * 32, 32, &message))
        m_header.displayMessage = message;
    return true;
}

QByteArray CuCommands::dateTimePayload(int year, int weekday, int month, int day, int hour, int minute)
{
    QByteArray payload;
    payload.append('P');
    for (int v : {year % 100, weekday, month, day, hour, minute})
        payload.append(bcd(v));
    payload.append(char(0));
    return payload;
}

bool CuCommands::Set_Bcd_Date_Time(int year, int weekday, int month, int day, int hour, int minute)
{
    return exchange(dateTimePayload(year, weekday, month, day, hour, minute)) == 0x06;
}

// --- other commands -------------------------------------------------------------------

bool CuCommands::eraseAllUsers()
{
    m_link.selectLongTimeout(m_link.settings().longTimeoutClosePageMs);
    return exchange(QByteArray(1, char(0x1B)) + ':') == 0x06;
}

int CuCommands::readCodeDigits()
{
    if (exchange(QByteArray(1, char(0x1E))) != 0x1F || m_link.answerParams().isEmpty())
        return -1;
    return uint8_t(m_link.answerParams()[0]);
}

uint8_t CuCommands::writeCodeDigits(int digits) { return exchange(QByteArray(1, '&') + char(digits)); }

bool CuCommands::testDecoderDevice(uint8_t high, uint8_t low)
{
    QByteArray payload("(p");
    payload.append(char(0x01));
    payload.append(char(high));
    payload.append(char(low));
    return exchange(payload) == ')';
}

QByteArray CuCommands::accessPointTestPayload(int accessPoint)
{
    QByteArray payload(1, '*');
    payload.append(char(accessPoint));
    payload.append(char(0x01));
    payload.append(char(0x01));
    return payload;
}

bool CuCommands::readAudioTiming(uint8_t *first, uint8_t *second)
{
    if (exchange(QByteArray(1, ',')) != 'L' || m_link.answerParams().size() < 2)
        return false;
    if (first)
        *first = uint8_t(m_link.answerParams()[0]);
    if (second)
        *second = uint8_t(m_link.answerParams()[1]);
    return true;
}

uint8_t CuCommands::writeAudioTiming(uint8_t first, uint8_t second)
{
    return exchange(QByteArray(1, '-') + char(first) + char(second));
}

bool CuCommands::insertUser(const QByteArray &record)
{
    if (record.size() != 32)
        return false;
    return exchange(QByteArray(1, '0') + record) == 0x40;
}

bool CuCommands::deleteUser(int position) { return exchange(QByteArray(1, '1') + be16(position)) == 'A'; }

bool CuCommands::readRamByte(int address, uint8_t *value)
{
    if (exchange(QByteArray(1, '3') + be16(address) + char(0x02)) != 'C' || m_link.answerParams().isEmpty())
        return false;
    if (value)
        *value = uint8_t(m_link.answerParams()[0]);
    return true;
}

bool CuCommands::fetchStoredIncidence() { return exchange(QByteArray(1, 'I')) == 'H'; }

bool CuCommands::restartCu() { return exchange(QByteArray(1, 'J')) == 0x06; }

uint8_t CuCommands::clearStoredIncidences() { return exchange(QByteArray(1, 'O')); }

uint8_t CuCommands::setParameter(int number, const QByteArray &value)
{
    return exchange(QByteArray(1, 'S') + char(number) + value);
}

bool CuCommands::locateUser(int userNumber, uint8_t *zone, int *slot)
{
    if (exchange(QByteArray(1, 'Y') + be16(userNumber)) != 'Z' || m_link.answerParams().size() < 3)
        return false;
    const QByteArray p = m_link.answerParams();
    if (zone)
        *zone = uint8_t(p[0]);
    if (slot)
        *slot = uint8_t(p[1]) << 8 | uint8_t(p[2]);
    return true;
}

bool CuCommands::updateUser(int position, const QByteArray &record)
{
    if (record.size() != 32)
        return false;
    return exchange(QByteArray(1, 'b') + be16(position) + record) == 0x06;
}
