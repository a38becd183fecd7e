#include "transfer/ui/F_Load_B_Name.h"

#include "frame/Lang.h"
#include "platform/Dialogs.h"
#include "store/SafeName.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
QString T(const char *key) { return Lang::text(QLatin1String(key)); }
} // namespace

TF_Load_B_Name::TF_Load_B_Name(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Load_B_Name"));
    setWindowTitle(T("F_Load_B_Name_Caption"));
    setModal(true);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("E_NAME"));
    m_name->setMaxLength(SafeName::kBlockNameMax);
    m_name->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^@]*")), m_name));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("E_CODE"));
    m_code->setMaxLength(2);
    m_code->setFixedWidth(60);
    m_code->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), m_code));

    auto *form = new QFormLayout;
    form->addRow(T("F_Load_B_Name_Label1_Caption"), m_name);
    form->addRow(T("F_Load_B_Name_Label2_Caption"), m_code);

    auto *ok = new QPushButton(T("F_Load_B_Name_B_OK_Caption"), this);
    ok->setObjectName(QStringLiteral("B_OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TF_Load_B_Name::B_OKClick);
    auto *cancel = new QPushButton(T("STAN_CANC"), this);
    cancel->setObjectName(QStringLiteral("B_CANCEL"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

void TF_Load_B_Name::setValues(const QString &name, int code)
{
    m_name->setText(name);
    m_code->setText(QStringLiteral("%1").arg(code, 2, 10, QLatin1Char('0')));
}

void TF_Load_B_Name::setUsed(const QList<BlockRules::UsedBlock> &used, const QList<BlockRules::UsedBlock> &pending)
{
    m_used = used;
    m_pending = pending;
}

QString TF_Load_B_Name::newName() const { return m_name->text().trimmed(); }
int TF_Load_B_Name::newCode() const { return m_code->text().toInt(); }

void TF_Load_B_Name::B_OKClick()
{
    const BlockRules::Check check = BlockRules::checkNewBlock(newName(), m_code->text(), m_used, m_pending);
    if (!check) {
        Dialogs::instance().warning(check.message);
        return;
    }
    accept();
}
