#pragma once

#include "transfer/BlockRules.h"

#include <QDialog>

class QLineEdit;

// "New code and block NAME": the name and code a block gets when it is
// loaded into the open installation. "Ok" refuses an empty name or code and
// a name or code already used by a block of the installation or by a block
// already chosen for loading.
class TF_Load_B_Name : public QDialog {
    Q_OBJECT
public:
    explicit TF_Load_B_Name(QWidget *parent = nullptr);

    void setValues(const QString &name, int code);
    // The blocks the new name and code must not clash with.
    void setUsed(const QList<BlockRules::UsedBlock> &used, const QList<BlockRules::UsedBlock> &pending);
    QString newName() const;
    int newCode() const;

    void B_OKClick();

private:
    QLineEdit *m_name;
    QLineEdit *m_code;
    QList<BlockRules::UsedBlock> m_used;
    QList<BlockRules::UsedBlock> m_pending;
};
