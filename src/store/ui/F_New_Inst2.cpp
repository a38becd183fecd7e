#include "store/ui/F_New_Inst2.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "store/StoreTexts.h"
#include "store/engine/EngineError.h"
#include "store/ui/F_NewInsta2_VALUES.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString T(const char *key) { return Lang::text(QLatin1String(key)); }

const QString kFilter = QStringLiteral("(AXO Install)|*.axo");

QLineEdit *readOnlyLine(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    return edit;
}

QToolButton *choiceButton(const char *name, const char *key, const char *hintKey, const char *icon, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(T(key));
    b->setToolTip(T(hintKey));
    b->setIcon(Icons::icon(QLatin1String(icon)));
    b->setIconSize(QSize(48, 48));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setMinimumSize(200, 110);
    return b;
}

} // namespace

TF_New_Inst2::TF_New_Inst2(ProgramState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("F_New_Inst2"));
    setWindowTitle(T("F_New_Inst2_Caption"));
    setWindowIcon(Icons::icon(QStringLiteral("new_installation")));
    setModal(true);

    // Step titles down the left side.
    auto *stepsBox = new QWidget(this);
    stepsBox->setObjectName(QStringLiteral("Panel_Steps"));
    stepsBox->setAutoFillBackground(true);
    QPalette pal = stepsBox->palette();
    pal.setColor(QPalette::Window, QColor(0x2f, 0x4a, 0x6b));
    stepsBox->setPalette(pal);
    auto *stepsLayout = new QVBoxLayout(stepsBox);
    auto *logo = new QLabel(stepsBox);
    logo->setPixmap(Icons::pixmap(QStringLiteral("new_installation"), 48));
    stepsLayout->addWidget(logo);
    const char *stepKeys[] = {"F_New_Inst2_Label1_caption", "F_New_Inst2_Label2_caption", "F_New_Inst2_Label3_caption"};
    for (int i = 0; i < 3; ++i) {
        m_steps[i] = new QLabel(T(stepKeys[i]), stepsBox);
        m_steps[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        stepsLayout->addWidget(m_steps[i]);
    }
    stepsLayout->addStretch();
    stepsBox->setFixedWidth(130);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));

    // Start: the two choices.
    auto *start = new QWidget(m_pages);
    start->setObjectName(QStringLiteral("Panel_Start"));
    auto *nueva = choiceButton("L_NUEVA", "F_New_Inst2_L_NUEVA_caption", "F_New_Inst2_L_NUEVA_hint", "new_installation", start);
    auto *clonar = choiceButton("L_CLONAR", "F_New_Inst2_L_CLONAR_caption", "F_New_Inst2_L_CLONAR_hint", "copy", start);
    connect(nueva, &QToolButton::clicked, this, &TF_New_Inst2::L_NUEVAClick);
    connect(clonar, &QToolButton::clicked, this, &TF_New_Inst2::L_CLONARClick);
    auto *startLayout = new QVBoxLayout(start);
    auto *startTitle = new QLabel(T("F_New_Inst2_Start_caption"), start);
    startTitle->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 13pt;"));
    startLayout->addWidget(startTitle);
    startLayout->addStretch();
    auto *choices = new QHBoxLayout;
    choices->addStretch();
    choices->addWidget(nueva);
    choices->addSpacing(24);
    choices->addWidget(clonar);
    choices->addStretch();
    startLayout->addLayout(choices);
    startLayout->addStretch();
    m_pages->addWidget(start);

    // New-installation page.
    auto *newPage = new QWidget(m_pages);
    newPage->setObjectName(QStringLiteral("Panel_New"));
    m_name = readOnlyLine("E_NAME", newPage);
    m_folder = readOnlyLine("E_FOLDER", newPage);
    auto *nameButton = new QPushButton(QStringLiteral("..."), newPage);
    nameButton->setObjectName(QStringLiteral("B_NAME"));
    nameButton->setToolTip(T("F_New_Inst2_B_NAME_hint"));
    nameButton->setFixedWidth(36);
    connect(nameButton, &QPushButton::clicked, this, &TF_New_Inst2::B_NAMEClick);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name);
    nameRow->addWidget(nameButton);
    m_local = new QRadioButton(T("F_New_Inst2_R1_caption"), newPage);
    m_local->setObjectName(QStringLiteral("R1"));
    m_modem = new QRadioButton(T("F_New_Inst2_R2_caption"), newPage);
    m_modem->setObjectName(QStringLiteral("R2"));
    auto *group = new QButtonGroup(newPage);
    group->addButton(m_local);
    group->addButton(m_modem);
    auto *typeRow = new QHBoxLayout;
    typeRow->addWidget(m_local);
    typeRow->addWidget(m_modem);
    typeRow->addStretch();
    m_phone = new QLineEdit(newPage);
    m_phone->setObjectName(QStringLiteral("E_PHONE"));
    m_phone->installEventFilter(this);
    m_port = new QComboBox(newPage);
    m_port->setObjectName(QStringLiteral("C_PORT"));
    m_port->setEditable(false);
    m_port->setMinimumWidth(220);
    connect(m_modem, &QRadioButton::toggled, m_phone, &QWidget::setEnabled);
    auto *newForm = new QFormLayout;
    newForm->addRow(T("F_New_Inst2_LName_caption"), nameRow);
    newForm->addRow(T("F_New_Inst2_LFolder_caption"), m_folder);
    newForm->addRow(T("F_New_Inst2_LType_caption"), typeRow);
    newForm->addRow(T("F_New_Inst2_LPhone_caption"), m_phone);
    newForm->addRow(T("F_New_Inst2_LPort_caption"), m_port);
    auto *newLayout = new QVBoxLayout(newPage);
    auto *newTitle = new QLabel(T("F_New_Inst2_New_caption"), newPage);
    newTitle->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 13pt;"));
    newLayout->addWidget(newTitle);
    newLayout->addLayout(newForm);
    newLayout->addStretch();
    m_pages->addWidget(newPage);

    // Clone page.
    // Titled like the other pages: a heading over the page's controls.
    auto *cloneOuter = new QWidget(m_pages);
    cloneOuter->setObjectName(QStringLiteral("Panel_Clone"));
    auto *cloneTitle = new QLabel(T("F_New_Inst2_TabClone_caption"), cloneOuter);
    cloneTitle->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 13pt;"));
    auto *clonePage = new QGroupBox(cloneOuter);
    clonePage->setObjectName(QStringLiteral("TabClone"));
    auto *cloneOuterLayout = new QVBoxLayout(cloneOuter);
    cloneOuterLayout->addWidget(cloneTitle);
    cloneOuterLayout->addWidget(clonePage, 1);
    auto *sourceButton = new QPushButton(T("F_New_Inst2_B_SOURCE_caption"), clonePage);
    sourceButton->setObjectName(QStringLiteral("B_SOURCE"));
    connect(sourceButton, &QPushButton::clicked, this, &TF_New_Inst2::B_SOURCEClick);
    m_sourceName = readOnlyLine("E_SOURCE_NAME", clonePage);
    m_sourceFolder = readOnlyLine("E_SOURCE_FOLDER", clonePage);
    m_count = new QLabel(clonePage);
    m_count->setObjectName(QStringLiteral("L_COUNT"));
    m_cloneList = new QTreeWidget(clonePage);
    m_cloneList->setObjectName(QStringLiteral("Lista_BLOCKS"));
    m_cloneList->setRootIsDecorated(false);
    m_cloneList->setHeaderLabels({T("F_New_Inst2_Lista_Column00"), T("F_New_Inst2_Lista_Column01"),
                                  T("F_New_Inst2_Lista_Column02"), T("F_New_Inst2_Lista_Column03")});
    m_cloneList->header()->resizeSection(0, 50);
    m_cloneList->header()->resizeSection(1, 120);
    m_cloneList->header()->resizeSection(2, 240);
    connect(m_cloneList, &QTreeWidget::currentItemChanged, this, [this] { showComponents(); });
    connect(m_cloneList, &QTreeWidget::itemDoubleClicked, this, [this] { B_NXClick(); });
    m_components = new QListWidget(clonePage);
    m_components->setObjectName(QStringLiteral("Lista_COMP"));
    m_components->setFixedWidth(210);
    m_components->setSelectionMode(QAbstractItemView::NoSelection);
    auto *nx = new QPushButton(T("F_New_Inst2_B_NX_caption"), clonePage);
    nx->setObjectName(QStringLiteral("B_NX"));
    nx->setToolTip(T("F_New_Inst2_B_NX_hint"));
    connect(nx, &QPushButton::clicked, this, &TF_New_Inst2::B_NXClick);
    auto *notCreate = new QPushButton(clonePage);
    notCreate->setObjectName(QStringLiteral("B_NOT_CREATE"));
    notCreate->setIcon(Icons::icon(QStringLiteral("nav_delete")));
    notCreate->setToolTip(T("F_New_Inst2_B_NOT_CREATE_hint"));
    connect(notCreate, &QPushButton::clicked, this, &TF_New_Inst2::B_NOT_CREATEClick);
    auto *newNameButton = new QPushButton(T("F_New_Inst2_B_NEW_NAME_caption"), clonePage);
    newNameButton->setObjectName(QStringLiteral("B_NEW_NAME"));
    connect(newNameButton, &QPushButton::clicked, this, &TF_New_Inst2::B_NEW_NAMEClick);
    m_newName = readOnlyLine("E_NEW_NAME", clonePage);
    m_newFolder = readOnlyLine("E_NEW_FOLDER", clonePage);

    auto *sourceRow = new QHBoxLayout;
    sourceRow->addWidget(sourceButton);
    sourceRow->addWidget(m_sourceName, 1);
    sourceRow->addWidget(m_sourceFolder, 2);
    auto *countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(T("F_New_Inst2_LCount_caption"), clonePage));
    countRow->addWidget(m_count);
    countRow->addStretch();
    countRow->addWidget(nx);
    countRow->addWidget(notCreate);
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_cloneList, 1);
    listRow->addWidget(m_components);
    auto *targetRow = new QHBoxLayout;
    targetRow->addWidget(newNameButton);
    targetRow->addWidget(m_newName, 1);
    targetRow->addWidget(m_newFolder, 2);
    auto *cloneLayout = new QVBoxLayout(clonePage);
    cloneLayout->addLayout(sourceRow);
    cloneLayout->addLayout(countRow);
    cloneLayout->addLayout(listRow, 1);
    cloneLayout->addLayout(targetRow);
    m_pages->addWidget(cloneOuter);

    // Finish page.
    auto *finish = new QWidget(m_pages);
    finish->setObjectName(QStringLiteral("Panel_Finish"));
    m_summary = new QTreeWidget(finish);
    m_summary->setObjectName(QStringLiteral("Lista_FINAL"));
    m_summary->setRootIsDecorated(false);
    m_summary->setHeaderLabels({T("F_New_Inst2_Lista_FINAL_Column00"), T("F_New_Inst2_Lista_FINAL_Column01")});
    m_summary->header()->resizeSection(0, 200);
    auto *confirm = new QPushButton(Icons::icon(QStringLiteral("ok")), T("F_New_Inst2_Label12_caption"), finish);
    confirm->setObjectName(QStringLiteral("Label12"));
    confirm->setFlat(true);
    confirm->setCursor(Qt::PointingHandCursor);
    confirm->setStyleSheet(QStringLiteral("font-weight: bold; color: #1a4f9c; text-decoration: underline;"));
    connect(confirm, &QPushButton::clicked, this, &TF_New_Inst2::Label12Click);
    auto *finishLayout = new QVBoxLayout(finish);
    auto *finishTitle = new QLabel(T("F_New_Inst2_Finish_caption"), finish);
    finishTitle->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 13pt;"));
    finishLayout->addWidget(finishTitle);
    finishLayout->addWidget(m_summary, 1);
    auto *confirmRow = new QHBoxLayout;
    confirmRow->addStretch();
    confirmRow->addWidget(confirm);
    finishLayout->addLayout(confirmRow);
    m_pages->addWidget(finish);

    // Buttons.
    m_back = new QPushButton(T("F_New_Inst2_B_BACK_caption"), this);
    m_back->setObjectName(QStringLiteral("B_BACK"));
    m_next = new QPushButton(T("F_New_Inst2_B_NEXT_caption"), this);
    m_next->setObjectName(QStringLiteral("B_NEXT"));
    auto *cancel = new QPushButton(T("STAN_CANC"), this);
    cancel->setObjectName(QStringLiteral("B_CANCEL"));
    connect(m_back, &QPushButton::clicked, this, &TF_New_Inst2::B_BACKClick);
    connect(m_next, &QPushButton::clicked, this, &TF_New_Inst2::B_NEXTClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addSpacing(16);
    buttons->addWidget(cancel);

    auto *right = new QVBoxLayout;
    right->addWidget(m_pages, 1);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 8);
    right->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(stepsBox);
    layout->addLayout(right, 1);
    resize(940, 500);
    resetAll();
}

void TF_New_Inst2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    resetAll();
}

bool TF_New_Inst2::eventFilter(QObject *watched, QEvent *event)
{
    // The phone number takes digits, spaces and commas; any other character
    // typed becomes a carriage return (which the field ignores).
    if (watched == m_phone && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (!text.isEmpty() && !NewInstallation::phoneCharAllowed(text.at(0)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TF_New_Inst2::resetAll()
{
    m_dialogFolder = m_state.workFolder;
    m_created.clear();
    m_blocks.clear();
    for (QLineEdit *e : {m_name, m_folder, m_phone, m_sourceName, m_sourceFolder, m_newName, m_newFolder})
        e->clear();
    m_local->setChecked(true);
    m_phone->setEnabled(false);
    m_port->clear();
    m_cloneList->clear();
    m_components->clear();
    m_count->setText(QStringLiteral("0"));
    m_summary->clear();
    goTo(Start);
}

void TF_New_Inst2::goTo(State step)
{
    m_step = step;
    m_pages->setCurrentIndex(step == Start ? 0 : step == NewPage ? 1 : step == ClonePage ? 2 : 3);
    const int current = step == Start ? 0 : step == Finish ? 2 : 1;
    for (int i = 0; i < 3; ++i) {
        m_steps[i]->setStyleSheet(i == current ? QStringLiteral("color: #ffd24a; font-weight: bold; font-size: 12pt;")
                                               : QStringLiteral("color: #c8d3e0; font-size: 10pt;"));
    }
    if (step == NewPage && m_port->count() == 0)
        fillPorts();
    if (step == Finish)
        fillSummary();
    updateButtons();
}

void TF_New_Inst2::updateButtons()
{
    m_back->setEnabled(m_step != Start);
    switch (m_step) {
    case Start:
    case Finish:
        m_next->setEnabled(false);
        break;
    case NewPage:
        m_next->setEnabled(!m_name->text().isEmpty());
        break;
    case ClonePage:
        m_next->setEnabled(!m_sourceName->text().isEmpty() && !m_newName->text().isEmpty());
        break;
    }
}

void TF_New_Inst2::fillPorts()
{
    m_port->clear();
    m_port->addItems(NewInstallation::portEntries(m_state.settings));
    if (m_port->count() > 0)
        m_port->setCurrentIndex(0);
}

void TF_New_Inst2::L_NUEVAClick()
{
    m_came = NewPage;
    goTo(NewPage);
}

void TF_New_Inst2::L_CLONARClick()
{
    m_came = ClonePage;
    goTo(ClonePage);
}

void TF_New_Inst2::B_BACKClick()
{
    if (m_step == Finish)
        goTo(m_came);
    else if (m_step != Start)
        goTo(Start);
}

void TF_New_Inst2::B_NEXTClick()
{
    if ((m_step == NewPage || m_step == ClonePage) && m_next->isEnabled())
        goTo(Finish);
}

QString TF_New_Inst2::chooseFile(const QString &title)
{
    QString path = Dialogs::instance().saveFile(title, m_dialogFolder, kFilter);
    if (path.isEmpty())
        return path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".axo");
    m_dialogFolder = Paths::withSlash(QFileInfo(path).absolutePath());
    return path;
}

void TF_New_Inst2::B_NAMEClick()
{
    const QString path = chooseFile(T("F_New_Inst2_LName_caption"));
    if (path.isEmpty())
        return;
    switch (NewInstallation::checkNewPath(path)) {
    case NewInstallation::PathCheck::TooLong:
        Dialogs::instance().information(T("F_New_Inst2_MENSA01") + QLatin1Char('\r') + T("F_New_Inst2_MENSA02"));
        return;
    case NewInstallation::PathCheck::Exists:
        Dialogs::instance().information(T("F_New_Inst2_MENSA00"));
        return;
    case NewInstallation::PathCheck::Ok:
        break;
    }
    const QFileInfo info(path);
    m_name->setText(info.fileName());
    m_folder->setText(Paths::withSlash(info.absolutePath()));
    updateButtons();
}

void TF_New_Inst2::B_SOURCEClick()
{
    const QString path = chooseFile(T("F_New_Inst2_B_SOURCE_caption"));
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        Dialogs::instance().information(T("F_New_Inst2_MENSA00"));
        return;
    }
    const QFileInfo info(path);
    m_sourceName->setText(info.fileName());
    m_sourceFolder->setText(Paths::withSlash(info.absolutePath()));
    m_blocks = NewInstallation::readCloneBlocks(path);
    fillCloneList();
    updateButtons();
}

void TF_New_Inst2::B_NEW_NAMEClick()
{
    const QString path = chooseFile(T("F_New_Inst2_B_NEW_NAME_caption"));
    if (path.isEmpty())
        return;
    if (NewInstallation::checkClonePath(path) != NewInstallation::PathCheck::Ok) {
        Dialogs::instance().information(T("F_New_Inst2_MENSA00"));
        return;
    }
    const QFileInfo info(path);
    m_newName->setText(info.fileName());
    m_newFolder->setText(Paths::withSlash(info.absolutePath()));
    updateButtons();
}

void TF_New_Inst2::fillCloneList()
{
    const int keep = m_cloneList->indexOfTopLevelItem(m_cloneList->currentItem());
    m_cloneList->clear();
    for (const NewInstallation::CloneBlock &b : m_blocks)
        m_cloneList->addTopLevelItem(
            new QTreeWidgetItem(QStringList{NewInstallation::codeText(b.code), b.newName, b.typeText, b.name}));
    m_count->setText(QString::number(m_blocks.size()));
    if (!m_blocks.isEmpty())
        m_cloneList->setCurrentItem(m_cloneList->topLevelItem(qBound(0, keep, int(m_blocks.size()) - 1)));
    showComponents();
}

void TF_New_Inst2::showComponents()
{
    m_components->clear();
    const int row = m_cloneList->indexOfTopLevelItem(m_cloneList->currentItem());
    if (row < 0 || row >= m_blocks.size())
        return;
    for (const Components::Component &c : Components::kByOrden) {
        const bool present = m_blocks[row].components[size_t(c.orden)];
        auto *item = new QListWidgetItem(Icons::icon(present ? QStringLiteral("ok") : QStringLiteral("unavailable")),
                                         Lang::word(QLatin1String(c.word)), m_components);
        item->setData(Qt::UserRole, present);
    }
}

void TF_New_Inst2::B_NXClick()
{
    const int row = m_cloneList->indexOfTopLevelItem(m_cloneList->currentItem());
    if (row < 0 || row >= m_blocks.size())
        return;
    NewInstallation::CloneBlock &block = m_blocks[row];
    QString code = NewInstallation::codeText(block.code);
    QString name = block.newName;
    if (!TF_NewInsta2_VALUES::edit(this, &code, &name, block.typeText))
        return;
    block.code = code.toInt();
    block.newName = name;
    fillCloneList();
}

void TF_New_Inst2::B_NOT_CREATEClick()
{
    const int row = m_cloneList->indexOfTopLevelItem(m_cloneList->currentItem());
    if (row < 0 || row >= m_blocks.size())
        return;
    if (!Dialogs::instance().confirm(T("F_New_Inst2_MENSA09")))
        return;
    m_blocks.removeAt(row);
    fillCloneList();
}

void TF_New_Inst2::fillSummary()
{
    m_summary->clear();
    const auto add = [this](const QString &parameter, const QString &value) {
        m_summary->addTopLevelItem(new QTreeWidgetItem(QStringList{parameter, value}));
    };
    const QString connection = m_modem->isChecked() ? T("F_New_Inst2_R2_caption") : T("F_New_Inst2_R1_caption");
    if (m_came == NewPage) {
        add(T("F_New_Inst2_MENSA03"), m_name->text());
        add(T("F_New_Inst2_MENSA04"), m_folder->text());
        add(QStringLiteral("AXO"), T("VALOR_ACEP"));
        add(T("F_New_Inst2_MENSA05"), connection);
        return;
    }
    add(T("F_New_Inst2_MENSA03"), m_newName->text());
    add(T("F_New_Inst2_MENSA04"), m_newFolder->text());
    if (m_blocks.isEmpty()) {
        add(T("F_New_Inst2_MENSA06"), T("F_New_Inst2_MENSA07"));
        add(T("F_New_Inst2_MENSA05"), connection);
        return;
    }
    for (const NewInstallation::CloneBlock &b : m_blocks)
        add(b.newName, NewInstallation::codeText(b.code));
}

void TF_New_Inst2::Label12Click()
{
    if (m_step != Finish || m_summary->topLevelItemCount() < 2)
        return;
    // The file name and the folder are those the summary shows.
    const QString fileName = m_summary->topLevelItem(0)->text(1);
    const QString folder = m_summary->topLevelItem(1)->text(1);
    NewInstallation::Plan plan;
    plan.path = folder + fileName;
    plan.connection = m_modem->isChecked() ? InstallationStore::Connection::Modem : InstallationStore::Connection::Local;
    plan.phone = m_phone->text().trimmed();
    plan.port = NewInstallation::portOfEntry(m_port->currentText());
    if (m_came == ClonePage) {
        plan.sourcePath = m_sourceFolder->text() + m_sourceName->text();
        plan.blocks = m_blocks;
    }
    try {
        const StoreOutcome outcome = NewInstallation::create(plan);
        if (!outcome) {
            Dialogs::instance().warning(outcome.message);
            return;
        }
    } catch (const StoreError &e) {
        Dialogs::instance().warning(e.text());
        return;
    } catch (const EngineError &e) {
        Dialogs::instance().warning(e.text());
        return;
    }
    m_created = plan.path;
    m_state.workFolder = folder;
    m_state.installationFile = plan.path;
    m_state.settings.sysPort = plan.port;
    m_state.modemInstallation = plan.connection == InstallationStore::Connection::Modem;
    m_state.putIntoSettings();
    QString error;
    if (!m_state.settings.save(m_state.settings.filePath(), &error))
        Dialogs::instance().warning(error);
    accept();
    emit installationCreated(m_created);
}
