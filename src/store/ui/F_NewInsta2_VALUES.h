#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// "Change values": the code and new name of one block of the clone list.
// Confirm closes it only when both are filled.
class TF_NewInsta2_VALUES : public QDialog {
    Q_OBJECT
public:
    explicit TF_NewInsta2_VALUES(QWidget *parent = nullptr);

    void setValues(const QString &code, const QString &name, const QString &type);
    QString code() const;
    QString newName() const;

    // Runs the dialog; true with the values when confirmed.
    static bool edit(QWidget *parent, QString *code, QString *name, const QString &type);

    void B_CONFIRMClick();

private:
    QLineEdit *m_code;
    QLineEdit *m_name;
    QLabel *m_type;
};
