#include "app/FormKit.h"

#include "frame/Lang.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

namespace FormKit {

QDialogButtonBox *okCancel(QDialog *dialog, const QString &okName, const QString &cancelName, const QString &cancelKey,
                           bool wire)
{
    auto *box = new QDialogButtonBox(dialog);
    QPushButton *ok = box->addButton(Lang::message(QStringLiteral("VALOR_ACEP")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(okName);
    ok->setDefault(true);
    QPushButton *cancel = box->addButton(Lang::message(cancelKey), QDialogButtonBox::RejectRole);
    cancel->setObjectName(cancelName);
    if (wire) {
        QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
        QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    }
    return box;
}

QPushButton *okButton(QDialogButtonBox *box)
{
    for (QAbstractButton *b : box->buttons())
        if (box->buttonRole(b) == QDialogButtonBox::AcceptRole)
            return qobject_cast<QPushButton *>(b);
    return nullptr;
}

QPushButton *cancelButton(QDialogButtonBox *box)
{
    for (QAbstractButton *b : box->buttons())
        if (box->buttonRole(b) == QDialogButtonBox::RejectRole)
            return qobject_cast<QPushButton *>(b);
    return nullptr;
}

QWidget *heading(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    label->setFont(f);
    label->setWordWrap(true);
    return label;
}

} // namespace FormKit
