#include "diagnostics/ui/LinkWindows.h"

#include <QTimer>

#include "diagnostics/ui/F_BRXStatus.h"
#include "diagnostics/ui/F_Test_CU.h"
#include "frame/ProgramState.h"
#include "link/ui/F_Mensaje_nocu.h"
#include "link/ui/F_Ports.h"
#include "link/ui/F_Tipo_Conex.h"

LinkWindows::LinkWindows(ProgramState &state, Link &link, CuCommands &commands, QWidget *parent)
    : QObject(parent), m_state(state)
{
    m_ports = new TF_Ports(state, parent);
    m_connection = new TF_Tipo_Conex(state, &commands, parent);
    m_test = new TF_Test_CU(state, link, commands, parent);
    m_status = new TF_BRXStatus(state, link, parent);
    m_failure = new TF_Mensaje_nocu(parent);
    connect(m_failure, &TF_Mensaje_nocu::testRequested, this, [this](int cu) { showCuTest(cu); });
}

void LinkWindows::showSerialPorts() { m_ports->exec(); }

void LinkWindows::showConnection() { m_connection->exec(); }

void LinkWindows::showStatus()
{
    m_status->show();
    m_status->raise();
    m_status->activateWindow();
}

void LinkWindows::testInstallation(const QString &installationFile, bool start)
{
    m_test->setInstallationFile(installationFile);
    if (start)
        QTimer::singleShot(0, m_test, [test = m_test] { test->B_START1Click(); });
    showCuTest();
}

void LinkWindows::showCuTest(int cu)
{
    if (cu >= 0)
        m_test->setCu(cu);
    if (m_test->isVisible()) {
        m_test->raise();
        m_test->activateWindow();
        return;
    }
    m_test->exec();
}

void LinkWindows::showFailure(const CuFailure &failure)
{
    m_failure->setFailure(failure, !m_state.modemInstallation);
    m_failure->exec();
}
