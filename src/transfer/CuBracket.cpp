#include "transfer/CuBracket.h"

#include "link/CuCommands.h"
#include "link/Link.h"

CuBracket::CuBracket(CuCommands &commands, IncidenceMonitorHooks *monitor) : m_commands(commands), m_monitor(monitor) {}

CuBracket::~CuBracket() { close(); }

bool CuBracket::open(const QString &installation, int cu, const QList<int> &installationCus, bool generalConnectionOpen)
{
    close();
    Link &link = m_commands.link();
    m_opened = true;
    m_general = generalConnectionOpen;
    m_savedCu = link.currentCu();
    m_monitorWasRegistering = m_monitor && m_monitor->registering();
    if (m_monitorWasRegistering && !link.modemConnection())
        m_monitor->closePort();
    link.setCurrentCu(uint8_t(cu < 0 || cu > 63 ? 0 : cu));
    m_failure.clear();
    if (m_general) {
        m_connected = true;
        return true;
    }
    m_connected = m_commands.Cu_Connect(installation, QString(), installationCus);
    if (!m_connected) {
        QStringList lines = m_commands.lastFailure().reasonLines();
        if (lines.isEmpty())
            lines << QStringLiteral("The central unit %1 is not one of the installation's central units.")
                         .arg(cu, 2, 10, QLatin1Char('0'));
        m_failure = lines.join(QLatin1Char(' '));
    }
    return m_connected;
}

void CuBracket::close()
{
    if (!m_opened)
        return;
    m_opened = false;
    Link &link = m_commands.link();
    if (!m_general) {
        // Logged in or not, the line is left as it was found: logout ends a
        // half-made login and closes the port on a direct line.
        if (m_connected)
            m_commands.Cu_Logout();
        else if (!link.modemConnection())
            link.closeSystemPort();
    }
    m_connected = false;
    if (m_monitorWasRegistering) {
        link.setCurrentCu(m_savedCu);
        if (!link.modemConnection())
            m_monitor->reopenPort();
    } else {
        link.setCurrentCu(m_savedCu);
    }
}
