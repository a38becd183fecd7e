#include "app/F_Pass3.h"

#include "app/FormKit.h"
#include "frame/Lang.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TF_Pass3::TF_Pass3(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Pass3"));
    setWindowTitle(Lang::text(QStringLiteral("F_Pass3_Caption")));
    setModal(true);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setEchoMode(QLineEdit::Password);
    auto *form = new QFormLayout;
    form->addRow(new QLabel(Lang::text(QStringLiteral("F_Password1_Label1_Caption")), this), m_edit);

    QDialogButtonBox *buttons = FormKit::okCancel(this, QStringLiteral("B_OK"), QStringLiteral("B_CANCEL"),
                                                  QStringLiteral("STAN_CANC"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(260);
}

QString TF_Pass3::code() const { return m_edit->text(); }
