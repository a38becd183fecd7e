#include "app/F_password2.h"

#include "app/FormKit.h"
#include "frame/Lang.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TF_password2::TF_password2(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_password2"));
    setWindowTitle(Lang::text(QStringLiteral("F_Password2_Caption")));
    setModal(true);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setEchoMode(QLineEdit::Password);
    auto *form = new QFormLayout;
    form->addRow(new QLabel(Lang::text(QStringLiteral("F_Password1_Label1_Caption")), this), m_edit);

    QDialogButtonBox *buttons = FormKit::okCancel(this, QStringLiteral("B_OK"), QStringLiteral("B_CANCEL"),
                                                  QStringLiteral("STAN_CANC"), false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_password2::B_OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(300);
}

void TF_password2::B_OKClick()
{
    m_code = m_edit->text().isEmpty() ? QStringLiteral("*****") : m_edit->text().left(5);
    accept();
}
