#include "app/F_Login.h"

#include "app/FormKit.h"
#include "common/ui/Icons.h"
#include "frame/Lang.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Lower-cases what is typed, keeping the cursor where it was.
void lowerCaseAsTyped(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        const QString lower = text.toLower();
        if (lower != text) {
            const int pos = edit->cursorPosition();
            edit->setText(lower);
            edit->setCursorPosition(pos);
        }
    });
}
} // namespace

TF_Login::TF_Login(const QString &operatorFile, QWidget *parent) : QDialog(parent), m_attempts(operatorFile)
{
    setObjectName(QStringLiteral("F_Login"));
    setWindowTitle(Lang::text(QStringLiteral("F_Login_Caption")));
    setModal(true);

    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::pixmap(QStringLiteral("veltrona"), 48));
    icon->setAlignment(Qt::AlignTop);
    auto *label7 = new QLabel(Lang::text(QStringLiteral("F_Login_Label7_Caption")), this);
    label7->setObjectName(QStringLiteral("Label7"));
    label7->setWordWrap(true);

    m_login = new QLineEdit(this);
    m_login->setObjectName(QStringLiteral("E_LOGIN"));
    m_login->setMaxLength(Operators::kFieldWidth);
    lowerCaseAsTyped(m_login);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("E_PASSWORD"));
    m_password->setMaxLength(Operators::kFieldWidth);
    m_password->setEchoMode(QLineEdit::Password);
    lowerCaseAsTyped(m_password);

    auto *label1 = new QLabel(Lang::text(QStringLiteral("F_Login_Label1_Caption")), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setBuddy(m_login);
    auto *label2 = new QLabel(Lang::text(QStringLiteral("F_Login_Label2_Caption")), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setBuddy(m_password);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("L_STATUS"));
    m_status->setStyleSheet(QStringLiteral("color: #b3261e;"));
    m_status->setText(QString());

    auto *form = new QFormLayout;
    form->addRow(label1, m_login);
    form->addRow(label2, m_password);

    auto *right = new QVBoxLayout;
    right->addWidget(label7);
    right->addSpacing(6);
    right->addLayout(form);
    right->addWidget(m_status);

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(right, 1);

    QDialogButtonBox *buttons = FormKit::okCancel(this, QStringLiteral("B_OK"), QStringLiteral("B_CANCEL"),
                                                  QStringLiteral("STAN_CANC_H"), false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_Login::B_OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_login, &QLineEdit::returnPressed, this, &TF_Login::B_OKClick);
    connect(m_password, &QLineEdit::returnPressed, this, &TF_Login::B_OKClick);
    // Enter in a field is handled above; the default button must not add a
    // second OK for the same key press.
    FormKit::okButton(buttons)->setAutoDefault(false);
    FormKit::okButton(buttons)->setDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void TF_Login::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_login->setFocus();
}

void TF_Login::B_OKClick()
{
    if (m_login->text().isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LoginAttempts::Result result = m_attempts.submit(m_login->text(), m_password->text());
    QApplication::restoreOverrideCursor();
    switch (result) {
    case LoginAttempts::Result::Ignored:
        break;
    case LoginAttempts::Result::LoggedIn:
        m_name = m_login->text();
        m_status->clear();
        accept();
        break;
    case LoginAttempts::Result::TryAgain:
        m_status->setText(Lang::text(QStringLiteral("F_Login_MENSA00")));
        m_password->clear();
        m_password->setFocus();
        break;
    case LoginAttempts::Result::Refused:
        reject();
        break;
    }
}
