#include "link/ui/F_Mensaje_nocu.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString T(const char *key) { return Lang::text(QLatin1String(key)); }
} // namespace

TF_Mensaje_nocu::TF_Mensaje_nocu(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Mensaje_nocu"));
    setWindowTitle(Lang::text(QStringLiteral("MainForm_Caption")));
    setModal(true);

    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::pixmap(QStringLiteral("failure"), 48));
    icon->setAlignment(Qt::AlignTop);

    auto label = [this](const char *name, const QString &text = QString()) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    m_installation = label("L_INST");
    m_cu = label("L_CU");
    QFont bold = m_installation->font();
    bold.setBold(true);
    m_installation->setFont(bold);
    m_cu->setFont(bold);
    m_reason = label("L_REASON");
    m_reason->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_reason->setWordWrap(true);
    m_common = label("L_COMMON", T("F_Mensaje_nocu_MENSA00"));
    m_common->setWordWrap(true);

    m_test = new QPushButton(T("F_Mensaje_nocu_L_TEST_Caption"), this);
    m_test->setObjectName(QStringLiteral("L_TEST"));
    m_test->setFlat(true);
    m_test->setCursor(Qt::PointingHandCursor);
    m_test->setStyleSheet(QStringLiteral("QPushButton { color: #0645ad; text-decoration: underline; border: none; text-align: left; }"));
    connect(m_test, &QPushButton::clicked, this, &TF_Mensaje_nocu::L_TESTClick);

    auto *grid = new QGridLayout;
    grid->addWidget(label("Label1", T("F_Mensaje_nocu_Label1_Caption")), 0, 0);
    grid->addWidget(m_installation, 0, 1);
    grid->addWidget(label("Label2", T("F_Mensaje_nocu_Label2_Caption")), 1, 0);
    grid->addWidget(m_cu, 1, 1);
    grid->setColumnStretch(1, 1);

    auto *text = new QVBoxLayout;
    text->addLayout(grid);
    text->addSpacing(6);
    text->addWidget(m_reason);
    text->addWidget(m_common);
    text->addWidget(m_test);

    auto *body = new QHBoxLayout;
    body->addWidget(icon);
    body->addLayout(text, 1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(Lang::message(QStringLiteral("VALOR_ACEP")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("B_OK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

QStringList TF_Mensaje_nocu::reasonTexts(const CuFailure &failure)
{
    switch (failure.kind) {
    case CuFailure::Kind::NotDetected:
        return {T("F_Mensaje_nocu_MENSA01"), T("F_Mensaje_nocu_MENSA02")};
    case CuFailure::Kind::LoginRefused:
        return {T("F_Mensaje_nocu_MENSA03")};
    case CuFailure::Kind::PortError:
        return {T("F_Mensaje_nocu_MENSA04") + QLatin1Char(' ') + failure.portError};
    case CuFailure::Kind::None:
        break;
    }
    return {};
}

void TF_Mensaje_nocu::setFailure(const CuFailure &failure, bool directLine)
{
    m_failure = failure;
    m_installation->setText(failure.installation);
    QString cu;
    if (failure.cu >= 0)
        cu = QStringLiteral("%1").arg(failure.cu, 2, 10, QLatin1Char('0'));
    if (!failure.blockName.isEmpty())
        cu += QStringLiteral("  ") + failure.blockName;
    m_cu->setText(cu);
    m_reason->setText(reasonTexts(failure).join(QLatin1Char('\n')));
    m_test->setVisible(directLine && failure.cu >= 0);
    adjustSize();
}

void TF_Mensaje_nocu::L_TESTClick()
{
    const int cu = m_failure.cu;
    accept();
    emit testRequested(cu);
}
