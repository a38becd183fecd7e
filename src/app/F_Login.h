#pragma once

#include "frame/Operators.h"

#include <QDialog>

class QLabel;
class QLineEdit;

// The operator login dialog. Both fields take at most 16 characters and turn
// what is typed into lower case; the password is masked. OK (or Enter in
// either field) checks the operator: a known one closes the dialog with
// success; the third failure of the run closes it with failure, which ends
// the program; Cancel fails at once.
class TF_Login : public QDialog {
    Q_OBJECT
public:
    // `operatorFile`: the operator file to check against.
    explicit TF_Login(const QString &operatorFile, QWidget *parent = nullptr);

    // After success: the operator as typed (lower case) and the level found.
    QString operatorName() const { return m_name; }
    int level() const { return m_attempts.level(); }
    int failures() const { return m_attempts.failures(); }

    // The OK button's work (B_OKClick).
    void B_OKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_login;
    QLineEdit *m_password;
    QLabel *m_status;
    LoginAttempts m_attempts;
    QString m_name;
};
