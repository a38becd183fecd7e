#pragma once

#include <QDialog>

class QLineEdit;

// The incidence password prompt of incidence registering: OK keeps the
// first five characters of the field as the code ("*****" for an empty
// field) and accepts; Cancel refuses. Enter acts as OK.
class TF_password2 : public QDialog {
    Q_OBJECT
public:
    explicit TF_password2(QWidget *parent = nullptr);

    QString code() const { return m_code; }
    QLineEdit *field() const { return m_edit; }
    void B_OKClick();

private:
    QLineEdit *m_edit;
    QString m_code;
};
