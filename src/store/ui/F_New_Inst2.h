#pragma once

#include "store/NewInstallation.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
struct ProgramState;

// The new-installation wizard: the start choice (a new, empty installation
// or a clone of an existing one), the new-installation page (name and
// folder, local or modem, phone, port), the clone page (source installation,
// its blocks with new names, the new installation's file) and the finish
// page with its summary and "Confirm".
//
// Confirm creates the installation (for a clone, with the listed blocks
// under their new names and codes), writes the settings (work folder, last
// installation, system port) and reports the new file through
// installationCreated() before closing; the frame then opens it.
class TF_New_Inst2 : public QDialog {
    Q_OBJECT
public:
    enum State { Start = 0, NewPage = 1, ClonePage = 2, Finish = 4 };

    explicit TF_New_Inst2(ProgramState &state, QWidget *parent = nullptr);

    State state() const { return m_step; }
    // The path of the installation created by the last Confirm.
    QString createdPath() const { return m_created; }
    const QList<NewInstallation::CloneBlock> &cloneBlocks() const { return m_blocks; }

    // Handlers, public so the frame and tests can drive them.
    void L_NUEVAClick();
    void L_CLONARClick();
    void B_BACKClick();
    void B_NEXTClick();
    void B_NAMEClick();
    void B_SOURCEClick();
    void B_NEW_NAMEClick();
    void B_NXClick();
    void B_NOT_CREATEClick();
    void Label12Click();

signals:
    void installationCreated(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void goTo(State step);
    void resetAll();
    void updateButtons();
    void fillPorts();
    void fillCloneList();
    void showComponents();
    void fillSummary();
    QString chooseFile(const QString &title);

    ProgramState &m_state;
    State m_step = Start;
    State m_came = NewPage;
    QString m_dialogFolder;
    QString m_created;
    QList<NewInstallation::CloneBlock> m_blocks;

    QLabel *m_steps[3];
    QStackedWidget *m_pages;
    // new-installation page
    QLineEdit *m_name;
    QLineEdit *m_folder;
    QRadioButton *m_local;
    QRadioButton *m_modem;
    QLineEdit *m_phone;
    QComboBox *m_port;
    // clone page
    QLineEdit *m_sourceName;
    QLineEdit *m_sourceFolder;
    QLabel *m_count;
    QTreeWidget *m_cloneList;
    QListWidget *m_components;
    QLineEdit *m_newName;
    QLineEdit *m_newFolder;
    // finish page
    QTreeWidget *m_summary;
    QPushButton *m_back;
    QPushButton *m_next;
};
