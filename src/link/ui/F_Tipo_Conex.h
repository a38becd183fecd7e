#pragma once

#include <QDialog>

class CuCommands;
class QLabel;
class QLineEdit;
class QRadioButton;
struct ProgramState;

// "Installation connection": whether an installation is reached directly
// ("Local") or through a modem, and the phone number dialled. Shows the
// open installation unless another one is selected. Saving the open
// installation's type changes the program's modem-connection flag at once;
// it is refused while a modem call is running.
class TF_Tipo_Conex : public QDialog {
    Q_OBJECT
public:
    // `commands` may be null (no call can then be running through it).
    TF_Tipo_Conex(ProgramState &state, CuCommands *commands, QWidget *parent = nullptr);

    // Shows the installation of this installation file (full path).
    void setInstallationFile(const QString &path);
    QString installationName() const { return m_name; }

    void B_SELECTClick();
    void B_OKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void readTable();
    bool callRunning() const;

    ProgramState &m_state;
    CuCommands *m_commands;
    QString m_folder;
    QString m_name;
    QLabel *m_installation = nullptr;
    QRadioButton *m_local = nullptr;
    QRadioButton *m_modem = nullptr;
    QLineEdit *m_phone = nullptr;
};
