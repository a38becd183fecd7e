#include "link/ui/F_Ports.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "link/InstallationConnection.h"
#include "link/LinkConfig.h"
#include "link/PortEntries.h"
#include "platform/Dialogs.h"
#include "store/engine/EngineError.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString T(const char *key) { return Lang::text(QLatin1String(key)); }

QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *box = new QDialogButtonBox(dialog);
    QPushButton *ok = box->addButton(Lang::message(QStringLiteral("VALOR_ACEP")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("B_OK"));
    ok->setDefault(true);
    QPushButton *cancel = box->addButton(Lang::message(QStringLiteral("STAN_CANC_H")), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("B_CANCEL"));
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QTreeWidget *portList(const QString &name, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({T("F_Ports_Lista_columns0_caption"), T("F_Ports_Lista_columns1_caption")});
    list->header()->resizeSection(0, 90);
    list->header()->setStretchLastSection(true);
    list->setIconSize(QSize(16, 16));
    list->setMinimumSize(300, 220);
    return list;
}

QPixmap blankIcon()
{
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    return blank;
}

int portNumberOf(const QTreeWidgetItem *item) { return item ? PortEntries::numberOf(item->text(0)) : 0; }

} // namespace

// --- TF_Ports_New -----------------------------------------------------------

TF_Ports_New::TF_Ports_New(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Ports_New"));
    setWindowTitle(T("F_Ports_New_Caption"));
    setModal(true);
    m_number = new QComboBox(this);
    m_number->setObjectName(QStringLiteral("CB_COM"));
    m_number->setEditable(false); // a number is chosen, never typed
    for (int n = 1; n <= 16; ++n)
        m_number->addItem(QString::number(n), n);
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("E_DESC"));
    m_description->setMaxLength(PortEntries::kDescriptionLength);

    auto *row = new QHBoxLayout;
    auto *com = new QLabel(T("F_Ports_New_Label1_Caption"), this);
    com->setObjectName(QStringLiteral("Label1"));
    row->addWidget(com);
    row->addWidget(m_number);
    row->addStretch(1);
    auto *desc = new QLabel(T("F_Ports_New_Label2_Caption"), this);
    desc->setObjectName(QStringLiteral("Label2"));
    QDialogButtonBox *buttons = okCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_Ports_New::B_OKClick);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(desc);
    layout->addWidget(m_description);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

void TF_Ports_New::reset()
{
    m_number->setCurrentIndex(-1);
    m_description->clear();
}

int TF_Ports_New::number() const { return m_number->currentIndex() < 0 ? 0 : m_number->currentData().toInt(); }
QString TF_Ports_New::description() const { return m_description->text(); }

void TF_Ports_New::B_OKClick()
{
    if (number() == 0)
        return; // nothing chosen yet: the dialog stays
    accept();
}

// --- TF_Ports_Edit ----------------------------------------------------------

TF_Ports_Edit::TF_Ports_Edit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Ports_Edit"));
    setWindowTitle(T("F_Ports_Edit_Caption"));
    setModal(true);
    auto *label = new QLabel(T("F_Ports_Edit_Label1_Caption"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("E_DESC"));
    m_description->setMaxLength(PortEntries::kDescriptionLength);
    QDialogButtonBox *buttons = okCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_description);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QString TF_Ports_Edit::edit(const QString &current)
{
    m_description->setText(current);
    m_description->selectAll();
    return exec() == QDialog::Accepted ? m_description->text() : current;
}

// --- TF_Ports_Erase ---------------------------------------------------------

TF_Ports_Erase::TF_Ports_Erase(ProgramState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("F_Ports_Erase"));
    setWindowTitle(T("F_Ports_Erase_Caption"));
    setModal(true);
    auto *label = new QLabel(T("F_Ports_Erase_Label1_Caption"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_list = portList(QStringLiteral("Lista1"), this);
    auto *erase = new QPushButton(T("F_Ports_Erase_B_ERASE_Caption"), this);
    erase->setObjectName(QStringLiteral("B_ERASE"));
    connect(erase, &QPushButton::clicked, this, &TF_Ports_Erase::B_ERASEClick);
    auto *close = new QPushButton(Lang::message(QStringLiteral("STAN_CLOSE")), this);
    close->setObjectName(QStringLiteral("B_CLOSE"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(erase);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

void TF_Ports_Erase::fill()
{
    m_list->clear();
    for (const PortEntries::Entry &e : PortEntries::list(m_state.settings))
        new QTreeWidgetItem(m_list, {e.name, e.description});
}

void TF_Ports_Erase::B_ERASEClick()
{
    QTreeWidgetItem *item = m_list->currentItem();
    const int number = portNumberOf(item);
    if (number == 0)
        return;
    if (number == PortEntries::numberOf(m_state.settings.sysPort)
        || number == PortEntries::numberOf(m_state.settings.proxPort)) {
        Dialogs::instance().warning(T("F_Ports_Erase_MENSA00"));
        return;
    }
    const QString question = T("F_Ports_Erase_MENSA01") + QLatin1Char(' ') + item->text(0) + QLatin1Char('-')
                             + item->text(1) + QLatin1Char('?');
    if (!Dialogs::instance().confirm(question))
        return;
    if (PortEntries::erase(m_state.settings, number) == PortEntries::EraseResult::Erased)
        delete item;
}

// --- TF_Ports ---------------------------------------------------------------

TF_Ports::TF_Ports(ProgramState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("F_Ports"));
    setWindowTitle(T("F_Ports_Caption"));
    setWindowIcon(Icons::icon(QStringLiteral("serial_port")));

    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::pixmap(QStringLiteral("serial_port"), 32));
    auto *instCaption = new QLabel(T("F_Ports_Label1_Caption"), this);
    instCaption->setObjectName(QStringLiteral("Label1"));
    m_installation = new QLabel(this);
    m_installation->setObjectName(QStringLiteral("L_INST"));
    QFont bold = m_installation->font();
    bold.setBold(true);
    m_installation->setFont(bold);
    auto *head = new QHBoxLayout;
    head->addWidget(icon);
    head->addWidget(instCaption);
    head->addWidget(m_installation, 1);

    m_lista1 = portList(QStringLiteral("Lista1"), this);
    m_lista2 = portList(QStringLiteral("Lista2"), this);
    auto action = [this](QTreeWidget *list, const char *name, const char *key, auto slot) {
        auto *a = new QAction(T(key), list);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, slot);
        list->addAction(a);
    };
    m_lista1->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_lista2->setContextMenuPolicy(Qt::ActionsContextMenu);
    action(m_lista1, "Stablishsystemport1", "F_Ports_Stablishsystemport1_Caption", &TF_Ports::Stablishsystemport1Click);
    action(m_lista1, "Changedescription1", "F_Ports_Changedescription1_Caption", [this] { changeDescription(m_lista1); });
    action(m_lista2, "Stablishproximityport1", "F_Ports_Stablishproximityport1_Caption",
           &TF_Ports::Stablishproximityport1Click);
    action(m_lista2, "Changedescription2", "F_Ports_Changedescription1_Caption", [this] { changeDescription(m_lista2); });

    auto group = [this](const char *name, const char *key, QTreeWidget *list) {
        auto *box = new QGroupBox(T(key), this);
        box->setObjectName(QLatin1String(name));
        auto *l = new QVBoxLayout(box);
        l->addWidget(list);
        return box;
    };
    auto *lists = new QHBoxLayout;
    lists->addWidget(group("GroupBox1", "F_Ports_GroupBox1_Caption", m_lista1));
    lists->addWidget(group("GroupBox2", "F_Ports_GroupBox2_Caption", m_lista2));

    auto *add = new QPushButton(Icons::icon(QStringLiteral("nav_new")), T("F_Ports_B_ADD_Caption"), this);
    add->setObjectName(QStringLiteral("B_ADD"));
    connect(add, &QPushButton::clicked, this, &TF_Ports::B_ADDClick);
    auto *erase = new QPushButton(Icons::icon(QStringLiteral("nav_delete")), T("F_Ports_B_ERASE_Caption"), this);
    erase->setObjectName(QStringLiteral("B_ERASE"));
    connect(erase, &QPushButton::clicked, this, &TF_Ports::B_ERASEClick);
    auto *close = new QPushButton(Lang::message(QStringLiteral("STAN_CLOSE")), this);
    close->setObjectName(QStringLiteral("B_CLOSE"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(erase);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    m_new = new TF_Ports_New(this);
    m_edit = new TF_Ports_Edit(this);
    m_erase = new TF_Ports_Erase(state, this);
}

void TF_Ports::showEvent(QShowEvent *event)
{
    QString folder, installation;
    m_installation->setText(InstallationConnection::current(m_state, &folder, &installation) ? installation : QString());
    fillLists();
    QDialog::showEvent(event);
}

void TF_Ports::fillList(QTreeWidget *list, bool system)
{
    list->clear();
    for (const PortEntries::Entry &e : PortEntries::list(m_state.settings)) {
        auto *item = new QTreeWidgetItem(list, {e.name, e.description});
        // Unmarked rows keep the icon's room so the port names line up.
        item->setData(0, Qt::DecorationRole, blankIcon());
        if (system ? e.system : e.proximity) {
            item->setIcon(0, Icons::icon(QStringLiteral("ok")));
            list->setCurrentItem(item);
        }
    }
}

void TF_Ports::fillLists()
{
    fillList(m_lista1, true);
    fillList(m_lista2, false);
}

void TF_Ports::portsChanged()
{
    ProgramLink::applyState(m_state);
    fillLists();
}

void TF_Ports::Stablishsystemport1Click()
{
    QTreeWidgetItem *item = m_lista1->currentItem();
    const int number = portNumberOf(item);
    if (number == 0)
        return;
    // The installation's table first: when it cannot be written the system
    // port stays as it was, so settings and installation never disagree.
    QString folder, installation;
    if (InstallationConnection::current(m_state, &folder, &installation)) {
        try {
            InstallationConnection::writePort(folder, installation, item->text(0));
        } catch (const EngineError &e) {
            Dialogs::instance().warning(T("F_Ports_MENSA00") + QLatin1Char(' ') + e.text());
            return;
        }
    }
    PortEntries::setSystemPort(m_state.settings, item->text(0));
    portsChanged();
}

void TF_Ports::Stablishproximityport1Click()
{
    QTreeWidgetItem *item = m_lista2->currentItem();
    if (!item || !PortEntries::setProximityPort(m_state.settings, item->text(0)))
        return;
    portsChanged();
}

void TF_Ports::changeDescription(QTreeWidget *list)
{
    QTreeWidgetItem *item = list->currentItem();
    const int number = portNumberOf(item);
    if (number == 0)
        return;
    PortEntries::setDescription(m_state.settings, number, m_edit->edit(item->text(1)));
    fillLists();
}

void TF_Ports::B_ADDClick()
{
    m_new->reset();
    if (m_new->exec() == QDialog::Accepted)
        PortEntries::add(m_state.settings, m_new->number(), m_new->description());
    portsChanged();
}

void TF_Ports::B_ERASEClick()
{
    m_erase->fill();
    m_erase->exec();
    portsChanged();
}
