#pragma once

#include "link/Link.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

// What the failure window shows after a programming connection failed.
struct CuFailure {
    enum class Kind { None, NotDetected, LoginRefused, PortError };
    Kind kind = Kind::None;
    QString installation;
    int cu = -1;
    QString blockName;
    QString portError;            // PortError: the port's message

    // The window's fixed lines: "This situation may produce problems to
    // connect with other central units." and the one or two lines of the kind.
    static QString commonText();
    QStringList reasonLines() const;
};

// Counters and codes read by Read_User_Header.
struct UserHeader {
    bool valid = false;              // the counters were answered
    int userCount = 0;
    int occupiedCount = 8888;        // 8888 when the CU did not answer
    std::array<QByteArray, 4> codes; // 5 bytes each, from user record 0
    std::array<bool, 4> codePresent{};
    int codeDigits = 6;              // 6 when the CU did not answer 0x1F
    QByteArray displayMessage;       // user record 1023 (32 bytes)
};

// The central-unit command layer: every request the program makes of a CU,
// the programming connection (login, BRX isolation, logout), PC-ON/PC-OFF,
// memory primitives and user-record writes. Every command goes to the
// link's current CU unless a CU is given.
class CuCommands {
public:
    static constexpr int kCuCount = 64;

    struct CuEntry {
        bool detected = false;
        bool selected = false;
        QString name;          // text shown in lists (block name)
        QByteArray savedCode;  // 5 characters
        bool codeNeeded = true;
    };

    // The code dialog: asked for the programming code of a CU; no value
    // when cancelled. The program shows TF_Password1; CLI and tests answer.
    using CodeDialog = std::function<std::optional<QString>(int cu)>;
    // Dials the installation (modem connection without a call up); true
    // when connected.
    using Dialer = std::function<bool(const QString &installation)>;

    explicit CuCommands(Link &link);

    Link &link() { return m_link; }

    // --- per-CU tables and connection state ------------------------------
    CuEntry &cu(int n) { return m_cus[size_t(n & 63)]; }
    const CuEntry &cu(int n) const { return m_cus[size_t(n & 63)]; }
    bool detected(int n) const { return n >= 0 && n < kCuCount && m_cus[size_t(n)].detected; }
    void setDetected(int n, bool on);
    void clearSelection();

    char loginLevel() const { return m_level; }
    QByteArray version() const { return m_version; }     // two characters
    QByteArray savedProgrammingCode() const { return m_savedCode; }
    void setSavedProgrammingCode(const QByteArray &code) { m_savedCode = code; }
    bool askCode() const { return m_askCode; }
    void setAskCode(bool on) { m_askCode = on; }
    bool stopFlag() const { return m_link.stopFlag(); }
    void setStopFlag(bool on) { m_link.setStopFlag(on); }
    bool callRunning() const { return m_callRunning; }
    void setCallRunning(bool on) { m_callRunning = on; }

    // The 5 bytes of 'N': at most five characters, upper case; an empty
    // entry gives "*****", a shorter one is filled with '*'.
    void setIncidencePassword(const QString &typed);
    QByteArray incidencePassword() const { return m_incidencePassword; }

    void setCodeDialog(CodeDialog dialog) { m_codeDialog = std::move(dialog); }
    void setDialer(Dialer dialer) { m_dialer = std::move(dialer); }
    void setInstallationName(const QString &name) { m_installation = name; }

    const CuFailure &lastFailure() const { return m_failure; }
    const UserHeader &userHeader() const { return m_header; }

    // --- the programming connection ------------------------------------
    // ';' with the code padded with spaces to 5 characters (only the first
    // five sent). True when the answer was '<' with level 'E', 'L' or 'U';
    // any other level logs out at once and sets the stop flag.
    bool Cu_Login(const QString &code);
    // The login through the code dialog (ask-code flag set): on level 'E'
    // the code becomes the CU's saved code and the saved programming code,
    // and the ask-code flag is cleared. False when cancelled or refused.
    bool loginThroughDialog();
    // Opens the line, marks the CUs to work on (the current CU when `target`
    // starts with '|', else `installationCus`), logs in, isolates the BRX
    // network at level 'E' and reads the user-memory header.
    bool Cu_Connect(const QString &installation, const QString &target, const QList<int> &installationCus);
    void Cu_Logout();
    // PC-ON/PC-OFF (function 0 PC off, 1 PC on, 2 CU off, 3 CU on); to `cu`,
    // or to the current CU when cu < 0.
    bool Pc_On_Off(int function, int cu = -1);

    // --- memory primitives ---------------------------------------------
    // '7': space 0 configuration, 1 users. The bytes read (at most
    // `length`) go to *data.
    bool Mem_Read(int space, int address, int length, QByteArray *data = nullptr);
    bool Mem_Open_Page(int page);
    // '8': at most 61 bytes per write.
    bool Mem_Write(int address, const QByteArray &bytes);
    bool Mem_Close_Page(int page);
    // Writes a 32-byte user record n (0..1023): page 2 below 512, page 3 from 512.
    bool Write_User_Record(int n, const QByteArray &record);
    static int userRecordPage(int n) { return n < 512 ? 2 : 3; }
    static int userRecordAddress(int n) { return n < 512 ? n * 32 : n * 32 - 16384; }
    bool Read_User_Header();
    bool Set_Bcd_Date_Time(int year, int weekday, int month, int day, int hour, int minute);

    // --- the other commands ----------------------------------------------
    // 0x19: user-memory counters. occupied is 8888 when the CU does not answer.
    bool readUserCounters(int *users, int *occupied);
    bool eraseAllUsers();                               // 0x1B ':'
    int readCodeDigits();                               // 0x1E; -1 when not answered
    uint8_t writeCodeDigits(int digits);                // '&'
    bool testDecoderDevice(uint8_t high, uint8_t low);  // '(' 'p' 1 ...
    bool readAudioTiming(uint8_t *first, uint8_t *second); // ','
    uint8_t writeAudioTiming(uint8_t first, uint8_t second); // '-'
    bool insertUser(const QByteArray &record);          // '0' -> 0x40
    bool deleteUser(int position);                      // '1' -> 'A'
    bool readRamByte(int address, uint8_t *value);      // '3' -> 'C'
    // 'I': true when a stored incidence came ('H'); its bytes are the link's answer.
    bool fetchStoredIncidence();
    bool restartCu();                                   // 'J'
    uint8_t clearStoredIncidences();                    // 'O'
    uint8_t setParameter(int number, const QByteArray &value); // 'S'
    bool locateUser(int userNumber, uint8_t *zone, int *slot); // 'Y' -> 'Z'
    bool updateUser(int position, const QByteArray &record);   // 'b'
    // 'c' to all CUs, then a pause: 0 none, 1 any card, 2 registered cards only.
    void setBrxIsolation(int value);

    // Payload builders, for the callers that use their own port (the
    // installation device test) and for the checks.
    static QByteArray loginPayload(const QString &code);
    static QByteArray dateTimePayload(int year, int weekday, int month, int day, int hour, int minute);
    static QByteArray accessPointTestPayload(int accessPoint);

private:
    uint8_t exchange(const QByteArray &payload, int mode = 1, int cu = -1);
    void setLoginParity();
    bool ensureCall();
    uint8_t target(int cu) const { return cu < 0 ? m_link.currentCu() : uint8_t(cu); }

    Link &m_link;
    std::array<CuEntry, kCuCount> m_cus;
    char m_level = 'X';
    QByteArray m_version = QByteArrayLiteral("10");
    QByteArray m_savedCode;
    bool m_askCode = true;
    bool m_callRunning = false;
    QByteArray m_incidencePassword = QByteArrayLiteral("*****");
    CodeDialog m_codeDialog;
    Dialer m_dialer;
    QString m_installation;
    CuFailure m_failure;
    UserHeader m_header;
};
