#include "link/ui/F_Tipo_Conex.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "link/CuCommands.h"
#include "link/InstallationConnection.h"
#include "link/LinkConfig.h"
#include "platform/Dialogs.h"
#include "store/InstallationStore.h"
#include "store/engine/EngineError.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QString T(const char *key) { return Lang::text(QLatin1String(key)); }
} // namespace

TF_Tipo_Conex::TF_Tipo_Conex(ProgramState &state, CuCommands *commands, QWidget *parent)
    : QDialog(parent), m_state(state), m_commands(commands)
{
    setObjectName(QStringLiteral("F_Tipo_Conex"));
    setWindowTitle(Lang::text(QStringLiteral("MainForm_Caption")));
    setWindowIcon(Icons::icon(QStringLiteral("connection")));
    setModal(true);

    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::pixmap(QStringLiteral("connection"), 32));
    auto *title = new QLabel(T("F_Tipo_Conex_Label1_Caption"), this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    title->setFont(big);
    auto *head = new QHBoxLayout;
    head->addWidget(icon);
    head->addWidget(title, 1);

    m_installation = new QLabel(this);
    m_installation->setObjectName(QStringLiteral("L_INST"));
    QFont bold = m_installation->font();
    bold.setBold(true);
    m_installation->setFont(bold);
    auto *select = new QPushButton(Icons::icon(QStringLiteral("open")), T("F_Tipo_Conex_B_SELECT_Caption"), this);
    select->setObjectName(QStringLiteral("B_SELECT"));
    connect(select, &QPushButton::clicked, this, &TF_Tipo_Conex::B_SELECTClick);
    auto *instRow = new QHBoxLayout;
    auto *instCaption = new QLabel(T("F_Tipo_Conex_Label2_Caption"), this);
    instCaption->setObjectName(QStringLiteral("Label2"));
    instRow->addWidget(instCaption);
    instRow->addWidget(m_installation, 1);
    instRow->addWidget(select);

    auto *typeBox = new QGroupBox(this);
    typeBox->setObjectName(QStringLiteral("GroupBox1"));
    m_local = new QRadioButton(T("F_Tipo_Conex_RB_LOCAL_Caption"), typeBox);
    m_local->setObjectName(QStringLiteral("RB_LOCAL"));
    m_modem = new QRadioButton(T("F_Tipo_Conex_RB_MODEM_Caption"), typeBox);
    m_modem->setObjectName(QStringLiteral("RB_MODEM"));
    m_phone = new QLineEdit(typeBox);
    m_phone->setObjectName(QStringLiteral("E_TELEFONO"));
    auto *phoneCaption = new QLabel(T("F_Tipo_Conex_Label3_Caption"), typeBox);
    phoneCaption->setObjectName(QStringLiteral("Label3"));
    auto *typeLayout = new QVBoxLayout(typeBox);
    typeLayout->addWidget(m_local);
    typeLayout->addWidget(m_modem);
    auto *phoneRow = new QHBoxLayout;
    phoneRow->addWidget(phoneCaption);
    phoneRow->addWidget(m_phone, 1);
    typeLayout->addLayout(phoneRow);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(Lang::message(QStringLiteral("VALOR_ACEP")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("B_OK"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(T("F_Tipo_Conex_B_CANCEL_Caption"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("B_CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_Tipo_Conex::B_OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(instRow);
    layout->addWidget(typeBox);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void TF_Tipo_Conex::showEvent(QShowEvent *event)
{
    if (!InstallationConnection::current(m_state, &m_folder, &m_name)) {
        m_folder.clear();
        m_name.clear();
    }
    readTable();
    QDialog::showEvent(event);
}

void TF_Tipo_Conex::setInstallationFile(const QString &path)
{
    const QFileInfo info(path);
    m_folder = info.absolutePath() + QLatin1Char('/');
    m_name = InstallationStore::installationNameOf(info.fileName());
    readTable();
}

void TF_Tipo_Conex::readTable()
{
    m_installation->setText(m_name);
    m_local->setChecked(true);
    m_phone->clear();
    if (m_name.isEmpty())
        return;
    try {
        const InstallationConnection::Connection c = InstallationConnection::readConnection(m_folder, m_name);
        // Anything but "LOCAL" is shown as a modem connection.
        (c.type == QLatin1String("LOCAL") ? m_local : m_modem)->setChecked(true);
        m_phone->setText(c.phone);
    } catch (const EngineError &e) {
        Dialogs::instance().warning(e.text());
    }
}

bool TF_Tipo_Conex::callRunning() const
{
    return m_state.modemCallActive || (m_commands && m_commands->callRunning());
}

void TF_Tipo_Conex::B_SELECTClick()
{
    const QString path = Dialogs::instance().openFile(T("F_Tipo_Conex_B_SELECT_Caption"), m_state.workFolder,
                                                      T("F_Tipo_Conex_Filter"));
    if (!path.isEmpty())
        setInstallationFile(path);
}

void TF_Tipo_Conex::B_OKClick()
{
    if (callRunning()) {
        Dialogs::instance().warning(T("F_Tipo_Conex_MENSA00"));
        return;
    }
    if (m_name.isEmpty()) {
        Dialogs::instance().warning(T("F_Tipo_Conex_MENSA01"));
        return;
    }
    const bool modem = m_modem->isChecked();
    try {
        InstallationConnection::writeConnection(m_folder, m_name, modem, m_phone->text());
    } catch (const EngineError &e) {
        Dialogs::instance().warning(e.text());
        return;
    }
    // The flag belongs to the open installation: another installation's
    // type takes effect when that one is opened.
    QString folder, name;
    if (InstallationConnection::current(m_state, &folder, &name) && name == m_name
        && QFileInfo(folder) == QFileInfo(m_folder)) {
        m_state.modemInstallation = modem;
        ProgramLink::applyState(m_state);
    }
    accept();
}
