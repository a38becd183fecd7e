#include "diagnostics/ui/F_BRXStatus.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "link/FrameCodec.h"
#include "link/Link.h"
#include "link/LinkConfig.h"
#include "platform/Dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QString T(const char *key) { return Lang::text(QLatin1String(key)); }

// The language file keeps no trailing blanks: a caption that runs into a
// value gets its separating space back.
QString lead(const char *key)
{
    const QString t = T(key);
    return t.endsWith(QLatin1Char(' ')) ? t : t + QLatin1Char(' ');
}

QString cuText(int cu)
{
    return cu == FrameCodec::kAllCus ? QString::number(cu) : QStringLiteral("%1").arg(cu, 2, 10, QLatin1Char('0'));
}
} // namespace

// --- TF_BRXStatus_INTER -----------------------------------------------------

TF_BRXStatus_INTER::TF_BRXStatus_INTER(ProgramState &state, Link *link, QWidget *parent)
    : QDialog(parent), m_state(state), m_link(link)
{
    setObjectName(QStringLiteral("F_BRXStatus_INTER"));
    setWindowTitle(T("F_BRXStatus_INTER_Caption"));
    setModal(true);

    auto *tabs = new QTabWidget(this);
    // The dialog widens to show every page title whole, in any language.
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideNone);
    tabs->setObjectName(QStringLiteral("PageControl1"));

    auto *isolate = new QWidget(tabs);
    isolate->setObjectName(QStringLiteral("TabSheet1"));
    m_isolate1 = new QRadioButton(T("F_BRXStatus_INTER_RB_ISOLATE1_Caption"), isolate);
    m_isolate1->setObjectName(QStringLiteral("RB_ISOLATE1"));
    m_isolate2 = new QRadioButton(T("F_BRXStatus_INTER_RB_ISOLATE2_Caption"), isolate);
    m_isolate2->setObjectName(QStringLiteral("RB_ISOLATE2"));
    auto *il = new QVBoxLayout(isolate);
    il->addWidget(m_isolate1);
    il->addWidget(m_isolate2);
    il->addStretch(1);
    tabs->addTab(isolate, T("F_BRXStatus_INTER_TabSheet1_Caption"));

    auto *timers = new QWidget(tabs);
    timers->setObjectName(QStringLiteral("TabSheet2"));
    auto number = [timers](const char *name) {
        auto *e = new QLineEdit(timers);
        e->setObjectName(QLatin1String(name));
        e->setMaxLength(4);
        e->setFixedWidth(70);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), e));
        return e;
    };
    m_velTrama = number("E_VEL_TRAMA");
    m_insert = number("E_INSERT");
    m_update = number("E_UPDATE");
    m_modem = number("E_MODEM");
    m_parity = new QComboBox(timers);
    m_parity->setObjectName(QStringLiteral("CB_PARITY"));
    m_parity->setEditable(false); // chosen, never typed
    m_parity->addItem(T("F_BRXStatus_INTER_CB_PARITY_Items1"), QStringLiteral("1"));
    m_parity->addItem(T("F_BRXStatus_INTER_CB_PARITY_Items2"), QStringLiteral("0"));
    m_atBaud = new QLineEdit(timers);
    m_atBaud->setObjectName(QStringLiteral("E_AT_BAUD"));
    auto *form = new QFormLayout(timers);
    form->addRow(T("F_BRXStatus_INTER_Label1_Caption"), m_velTrama);
    form->addRow(T("F_BRXStatus_INTER_Label2_Caption"), m_insert);
    form->addRow(T("F_BRXStatus_INTER_Label3_Caption"), m_update);
    form->addRow(T("F_BRXStatus_INTER_Label4_Caption"), m_modem);
    form->addRow(T("F_BRXStatus_INTER_Label5_Caption"), m_parity);
    form->addRow(T("F_BRXStatus_INTER_Label6_Caption"), m_atBaud);
    tabs->addTab(timers, T("F_BRXStatus_INTER_TabSheet2_Caption"));

    auto *net = new QWidget(tabs);
    net->setObjectName(QStringLiteral("TabSheet3"));
    auto *netText = new QLabel(T("F_BRXStatus_INTER_Label7_Caption"), net);
    netText->setObjectName(QStringLiteral("Label7"));
    netText->setWordWrap(true);
    auto *address = new QLineEdit(QString::number(FrameCodec::kPcAddress), net);
    address->setObjectName(QStringLiteral("E_ADDRESS"));
    address->setReadOnly(true);
    address->setFixedWidth(70);
    auto *nl = new QFormLayout(net);
    nl->addRow(netText);
    nl->addRow(T("F_BRXStatus_INTER_Label8_Caption"), address);
    tabs->addTab(net, T("F_BRXStatus_INTER_TabSheet3_Caption"));

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(Lang::message(QStringLiteral("VALOR_ACEP")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("B_OK"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(Lang::message(QStringLiteral("STAN_CANC_H")), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("B_CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_BRXStatus_INTER::B_OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

void TF_BRXStatus_INTER::showEvent(QShowEvent *event)
{
    loadValues();
    QDialog::showEvent(event);
}

void TF_BRXStatus_INTER::loadValues()
{
    const Settings &s = m_state.settings;
    (s.isolateBrx == 2 ? m_isolate2 : m_isolate1)->setChecked(true);
    m_velTrama->setText(QString::number(s.velTrama));
    m_insert->setText(QString::number(s.offByInsertUser));
    m_update->setText(QString::number(s.offByUpdateUser));
    m_modem->setText(QString::number(s.offByModem));
    m_parity->setCurrentIndex(s.parityEven() ? 0 : 1);
    m_atBaud->setText(s.atBaudRate);
}

void TF_BRXStatus_INTER::B_OKClick()
{
    // Every delay is a number of one to four figures; an empty field is refused.
    int values[4] = {};
    const QLineEdit *fields[4] = {m_velTrama, m_insert, m_update, m_modem};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = fields[i]->text().toInt(&ok);
        if (!ok || fields[i]->text().size() > 4 || values[i] < 0) {
            Dialogs::instance().warning(T("F_BRXStatus_INTER_MENSA00"));
            return;
        }
    }
    Settings &s = m_state.settings;
    s.isolateBrx = m_isolate2->isChecked() ? 2 : 1;
    s.velTrama = values[0];
    s.offByInsertUser = values[1];
    s.offByUpdateUser = values[2];
    s.offByModem = values[3];
    s.parity = m_parity->currentData().toString();
    if (!m_atBaud->text().trimmed().isEmpty())
        s.atBaudRate = m_atBaud->text();
    m_state.putIntoSettings();
    QString error;
    if (!s.save(Settings::filePath(), &error))
        Dialogs::instance().warning(T("F_BRXStatus_INTER_MENSA01") + QLatin1Char(' ') + error);
    if (m_link)
        LinkConfig::apply(s, m_link->settings());
    accept();
}

// --- TF_BRXStatus -----------------------------------------------------------

TF_BRXStatus::TF_BRXStatus(ProgramState &state, Link &link, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_state(state), m_link(link)
{
    setObjectName(QStringLiteral("F_BRXStatus"));
    setWindowTitle(T("F_BRXStatus_Caption"));
    setWindowIcon(Icons::icon(QStringLiteral("status")));
    setModal(false);

    auto label = [this](const char *name, const QString &text = QString()) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    m_port = label("L_PORT");
    m_status = label("L_STATUS");
    m_sent = label("L_TRAMAS_SEND", QStringLiteral("0"));
    m_received = label("L_TRAMAS_RECE", QStringLiteral("0"));
    QFont bold = m_port->font();
    bold.setBold(true);
    for (QLabel *l : {m_port, m_status, m_sent, m_received})
        l->setFont(bold);
    m_sent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_received->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *icon = label("Image1");
    icon->setPixmap(Icons::pixmap(QStringLiteral("status"), 32));
    auto *grid = new QGridLayout;
    grid->addWidget(label("Label1", T("F_BRXStatus_Label1_Caption")), 0, 0);
    grid->addWidget(m_port, 0, 1, 1, 2);
    grid->addWidget(label("Label2", T("F_BRXStatus_Label2_Caption")), 1, 0);
    grid->addWidget(m_status, 1, 1, 1, 2);
    grid->addWidget(label("Label3", T("F_BRXStatus_Label3_Caption")), 2, 0);
    grid->addWidget(label("Label4", T("F_BRXStatus_Label4_Caption")), 2, 1);
    grid->addWidget(m_sent, 2, 2);
    grid->addWidget(label("Label5", T("F_BRXStatus_Label5_Caption")), 3, 1);
    grid->addWidget(m_received, 3, 2);
    grid->setColumnStretch(2, 1);
    auto *body = new QHBoxLayout;
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addLayout(grid, 1);

    auto *prop = new QPushButton(Icons::icon(QStringLiteral("options")), T("F_BRXStatus_B_PROP_Caption"), this);
    prop->setObjectName(QStringLiteral("B_PROP"));
    connect(prop, &QPushButton::clicked, this, &TF_BRXStatus::B_PROPClick);
    auto *close = new QPushButton(T("F_BRXStatus_B_CLOSE_Caption"), this);
    close->setObjectName(QStringLiteral("B_CLOSE"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(prop);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    m_timer = new QTimer(this);
    m_timer->setInterval(500);
    connect(m_timer, &QTimer::timeout, this, &TF_BRXStatus::refresh);
    connect(&m_link, &Link::countersChanged, this, &TF_BRXStatus::refresh);
    m_inter = new TF_BRXStatus_INTER(state, &link, this);
}

QString TF_BRXStatus::statusText(const ProgramState &state, int currentCu)
{
    if (state.cuSessionOpen)
        return lead("F_BRXStatus_MENSA01") + cuText(currentCu);
    if (state.registeringActive)
        return lead("F_BRXStatus_MENSA02") + cuText(currentCu);
    return T("F_BRXStatus_MENSA00");
}

void TF_BRXStatus::refresh()
{
    m_port->setText(m_state.settings.sysPort);
    m_status->setText(statusText(m_state, m_link.currentCu()));
    m_sent->setText(QString::number(m_link.framesSent()));
    m_received->setText(QString::number(m_link.framesReceived()));
}

void TF_BRXStatus::showEvent(QShowEvent *event)
{
    refresh();
    m_timer->start();
    QDialog::showEvent(event);
}

void TF_BRXStatus::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QDialog::hideEvent(event);
}

void TF_BRXStatus::B_PROPClick()
{
    m_inter->exec();
    refresh();
}
