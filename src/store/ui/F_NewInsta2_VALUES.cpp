#include "store/ui/F_NewInsta2_VALUES.h"

#include "frame/Lang.h"
#include "store/SafeName.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
QString T(const char *key) { return Lang::text(QLatin1String(key)); }
} // namespace

TF_NewInsta2_VALUES::TF_NewInsta2_VALUES(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_NewInsta2_VALUES"));
    setWindowTitle(T("F_NewInsta2_VALUES_Caption"));
    setModal(true);

    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("E_CODE"));
    m_code->setMaxLength(2);
    m_code->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), m_code));
    m_code->setFixedWidth(48);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("E_NAME"));
    m_name->setMaxLength(SafeName::kBlockNameMax);
    m_name->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^@]*")), m_name));
    m_type = new QLabel(this);
    m_type->setObjectName(QStringLiteral("L_TYPE"));

    auto *form = new QFormLayout;
    form->addRow(T("F_NewInsta2_VALUES_Label1_caption"), m_code);
    form->addRow(T("F_NewInsta2_VALUES_Label2_caption"), m_name);
    form->addRow(T("F_NewInsta2_VALUES_Label3_caption"), m_type);

    auto *confirm = new QPushButton(T("F_New_Inst2_Label12_caption"), this);
    confirm->setObjectName(QStringLiteral("B_CONFIRM"));
    confirm->setDefault(true);
    connect(confirm, &QPushButton::clicked, this, &TF_NewInsta2_VALUES::B_CONFIRMClick);
    auto *cancel = new QPushButton(Lang::text(QStringLiteral("STAN_CANC")), this);
    cancel->setObjectName(QStringLiteral("B_CANCEL"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(340);
}

void TF_NewInsta2_VALUES::setValues(const QString &code, const QString &name, const QString &type)
{
    m_code->setText(code);
    m_name->setText(name);
    m_type->setText(type);
}

QString TF_NewInsta2_VALUES::code() const { return m_code->text().trimmed(); }
QString TF_NewInsta2_VALUES::newName() const { return m_name->text().trimmed(); }

void TF_NewInsta2_VALUES::B_CONFIRMClick()
{
    if (code().isEmpty() || newName().isEmpty())
        return;
    accept();
}

bool TF_NewInsta2_VALUES::edit(QWidget *parent, QString *code, QString *name, const QString &type)
{
    TF_NewInsta2_VALUES dialog(parent);
    dialog.setValues(*code, *name, type);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *code = dialog.code();
    *name = dialog.newName();
    return true;
}
