#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

// The central unit code prompt used when a session with a central unit is
// opened. OK pads the code with spaces to five characters, writes the padded
// code back into the field and sends the central unit's login with it
// through the login function its opener gives; the answer's login level
// decides: 'E', 'L' or 'U' accept. The field is emptied afterwards. Cancel
// reports a refusal.
class TF_Password1 : public QDialog {
    Q_OBJECT
public:
    // Sends the login with the padded code; returns the login level
    // ('E', 'L', 'U', or 'X' for a refusal or no answer).
    using LoginFunction = std::function<char(const QString &paddedCode)>;

    explicit TF_Password1(QWidget *parent = nullptr);

    void setLoginFunction(LoginFunction login) { m_login = std::move(login); }
    // The level of the last login made here; 'X' when none was accepted.
    char loginLevel() const { return m_level; }
    QLineEdit *field() const { return m_edit; }

    // The code padded on the right with spaces to five characters.
    static QString padCode(const QString &code);

    void B_OKClick();

signals:
    // A login at level 'E' with this code: the opener keeps it as the
    // central unit's saved code.
    void codeAccepted(const QString &paddedCode);

private:
    QLineEdit *m_edit;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    LoginFunction m_login;
    char m_level = 'X';
};
