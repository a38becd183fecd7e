#pragma once

#include <QDialog>

#include <memory>

class CuCommands;
class CuTest;
class Link;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
struct ProgramState;

// "AXO Central units Test": finds the central units that answer, by testing
// the CUs of an installation (one row per block record), one CU, or every
// number 0 to 63. Each CU that answers is marked detected in the command
// layer; the link status counters count the frames. The test runs on a port
// of its own on the system port name; while it runs the system port of the
// link is closed, and reopened afterwards when incidence registering is on.
class TF_Test_CU : public QDialog {
    Q_OBJECT
public:
    TF_Test_CU(ProgramState &state, Link &link, CuCommands &commands, QWidget *parent = nullptr);
    ~TF_Test_CU() override;

    // The installation file tested by "Test now" of the installation.
    void setInstallationFile(const QString &path);
    QString installationFile() const { return m_file; }
    // Fills in the CU number of "Test central unit" (the failure window's link).
    void setCu(int cu);

    void B_SELECTClick();
    void B_START1Click(); // the installation's CUs
    void B_START2Click(); // one CU
    void B_START3Click(); // 0..63
    void B_STOPClick();
    bool running() const { return m_running; }

    // Result column values of the rows, for a caller that reads the list.
    QTreeWidget *resultList() const { return m_list; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    QTreeWidgetItem *addRow(int cu, const QString &block);
    void runRows(const QList<QTreeWidgetItem *> &rows);
    void setRunning(bool on);
    void applyNoTest();

    ProgramState &m_state;
    Link &m_link;
    CuCommands &m_commands;
    std::unique_ptr<CuTest> m_test;
    QString m_file;
    bool m_running = false;
    bool m_stopRequested = false;

    QLabel *m_installation = nullptr;
    QLabel *m_folder = nullptr;
    QLineEdit *m_cu = nullptr;
    QTreeWidget *m_list = nullptr;
    QProgressBar *m_animation = nullptr;
    QCheckBox *m_noTest = nullptr;
    QList<QPushButton *> m_startButtons;
    QList<QPushButton *> m_stopButtons;
};
