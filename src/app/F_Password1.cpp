#include "app/F_Password1.h"

#include "app/FormKit.h"
#include "frame/Lang.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_Password1::TF_Password1(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Password1"));
    setWindowTitle(Lang::text(QStringLiteral("F_Password1_Caption")));
    setModal(true);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setEchoMode(QLineEdit::Password);
    auto *form = new QFormLayout;
    form->addRow(new QLabel(Lang::text(QStringLiteral("F_Password1_Label1_Caption")), this), m_edit);

    QDialogButtonBox *buttons = FormKit::okCancel(this, QStringLiteral("B_OK"), QStringLiteral("B_CANCEL"),
                                                  QStringLiteral("STAN_CANC"), false);
    m_ok = FormKit::okButton(buttons);
    m_cancel = FormKit::cancelButton(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_Password1::B_OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        m_level = 'X';
        m_edit->clear();
        reject();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(300);
}

QString TF_Password1::padCode(const QString &code) { return code.leftJustified(5, QLatin1Char(' ')); }

void TF_Password1::B_OKClick()
{
    m_ok->setEnabled(false);
    m_cancel->setEnabled(false);
    const QString padded = padCode(m_edit->text());
    m_edit->setText(padded);
    m_level = m_login ? m_login(padded) : 'X';
    if (m_level == 'E')
        emit codeAccepted(padded);
    m_edit->clear();
    m_ok->setEnabled(true);
    m_cancel->setEnabled(true);
    if (m_level == 'E' || m_level == 'L' || m_level == 'U')
        accept();
    else
        reject();
}
