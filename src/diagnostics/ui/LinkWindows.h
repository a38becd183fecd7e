#pragma once

#include <QObject>

class CuCommands;
class Link;
class QWidget;
class TF_BRXStatus;
class TF_Mensaje_nocu;
class TF_Ports;
class TF_Test_CU;
class TF_Tipo_Conex;
struct CuFailure;
struct ProgramState;

// The windows of the device link and the CU test, created once on the
// program's link and kept for the whole run: "Serial Ports", "Installation
// connection", the CU test, the link status and the failure window. The
// main window's commands open them; the failure window's link opens the CU
// test for its CU.
class LinkWindows : public QObject {
    Q_OBJECT
public:
    LinkWindows(ProgramState &state, Link &link, CuCommands &commands, QWidget *parent);

    void showSerialPorts();
    void showConnection();
    void showStatus();
    // The CU test, with its CU field filled in when cu is 0..63.
    void showCuTest(int cu = -1);
    // The CU test of an installation file; with `start` the test of its
    // central units begins as soon as the window shows.
    void testInstallation(const QString &installationFile, bool start);
    void showFailure(const CuFailure &failure);

    TF_Ports *portsWindow() const { return m_ports; }
    TF_Tipo_Conex *connectionWindow() const { return m_connection; }
    TF_Test_CU *cuTestWindow() const { return m_test; }
    TF_BRXStatus *statusWindow() const { return m_status; }
    TF_Mensaje_nocu *failureWindow() const { return m_failure; }

private:
    ProgramState &m_state;
    TF_Ports *m_ports;
    TF_Tipo_Conex *m_connection;
    TF_Test_CU *m_test;
    TF_BRXStatus *m_status;
    TF_Mensaje_nocu *m_failure;
};
