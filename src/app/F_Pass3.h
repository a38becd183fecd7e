#pragma once

#include <QDialog>

class QLineEdit;

// The code prompt of the control panel windows: OK and Cancel only report
// which was pressed; the caller reads the code.
class TF_Pass3 : public QDialog {
    Q_OBJECT
public:
    explicit TF_Pass3(QWidget *parent = nullptr);

    QString code() const;
    QLineEdit *field() const { return m_edit; }

private:
    QLineEdit *m_edit;
};
