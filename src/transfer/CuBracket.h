#pragma once

#include <QList>
#include <QString>

#include <cstdint>

class CuCommands;

// What the incidence monitor lends to an operation on a central unit: while
// registering is on, the monitor's port is closed for the operation (on a
// direct line) and reopened afterwards.
class IncidenceMonitorHooks {
public:
    virtual ~IncidenceMonitorHooks() = default;
    virtual bool registering() const = 0;
    virtual void closePort() = 0;
    virtual void reopenPort() = 0;
};

// The bracket around every programming operation on a block's central unit:
// remember whether registering is on and the current CU address, close the
// monitor's port on a direct line, make the block's CU current, open the
// programming connection (Cu_Connect: login, BRX isolation, user-memory
// header); afterwards log out (unless a general connection was already
// open), and restore the address and the monitor's port. close() runs from
// the destructor too, so an error cannot leave the CU in programming mode.
class CuBracket {
public:
    CuBracket(CuCommands &commands, IncidenceMonitorHooks *monitor = nullptr);
    ~CuBracket();
    CuBracket(const CuBracket &) = delete;
    CuBracket &operator=(const CuBracket &) = delete;

    // `installationCus`: the CU numbers of the installation's blocks (the
    // CUs the connection may log into). With `generalConnectionOpen` the
    // connection of the installation window is used as it is.
    bool open(const QString &installation, int cu, const QList<int> &installationCus, bool generalConnectionOpen = false);
    void close();

    bool connected() const { return m_connected; }
    // Why the connection failed, for the operator ("The Central Unit is
    // OFF-Line or the application did not detect it.", the port's error ...).
    QString failureText() const { return m_failure; }

private:
    CuCommands &m_commands;
    IncidenceMonitorHooks *m_monitor;
    bool m_opened = false;
    bool m_connected = false;
    bool m_general = false;
    bool m_monitorWasRegistering = false;
    uint8_t m_savedCu = 0x80;
    QString m_failure;
};
