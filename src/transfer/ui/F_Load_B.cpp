#include "transfer/ui/F_Load_B.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "store/InstallationFile.h"
#include "store/InstallationStore.h"
#include "store/engine/EngineError.h"
#include "transfer/ui/F_Load_B_Name.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString T(const char *key) { return Lang::text(QLatin1String(key)); }
QString two(int code) { return QStringLiteral("%1").arg(code, 2, 10, QLatin1Char('0')); }

QTreeWidget *list(const char *name, const QStringList &headers, QWidget *parent)
{
    auto *l = new QTreeWidget(parent);
    l->setObjectName(QLatin1String(name));
    l->setRootIsDecorated(false);
    l->setHeaderLabels(headers);
    l->header()->resizeSection(0, 80);
    l->header()->resizeSection(1, 130);
    // Every title shows whole, in any language.
    const QFontMetrics metrics(l->header()->font());
    for (int c = 0; c < headers.size() - 1; ++c)
        l->header()->resizeSection(c, qMax(l->header()->sectionSize(c), metrics.horizontalAdvance(headers[c]) + 16));
    return l;
}

} // namespace

TF_Load_B::TF_Load_B(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Load_B"));
    setWindowTitle(T("F_Load_B_Caption"));
    setWindowIcon(Icons::icon(QStringLiteral("block")));
    setModal(true);

    m_target = new QLabel(this);
    m_target->setObjectName(QStringLiteral("L_INSTALL"));
    m_target->setStyleSheet(QStringLiteral("font-weight: bold;"));
    auto *choose = new QPushButton(Icons::icon(QStringLiteral("open")), T("F_Load_B_SpeedButton1_Caption"), this);
    choose->setObjectName(QStringLiteral("SpeedButton1"));
    connect(choose, &QPushButton::clicked, this, &TF_Load_B::SpeedButton1Click);
    m_pathEdit = new QLineEdit(this);
    m_pathEdit->setObjectName(QStringLiteral("E_PATH"));
    m_pathEdit->setReadOnly(true);

    m_list1 = list("Lista1", {T("F_Load_B_Lista1_Column00"), T("F_Load_B_Lista1_Column01"), T("F_Load_B_Lista1_Column02")}, this);
    m_list2 = list("Lista2", {T("F_Load_B_Lista2_Column00"), T("F_Load_B_Lista2_Column01"), T("F_Load_B_Lista2_Column02"),
                              T("F_Load_B_Lista2_Column03")}, this);
    connect(m_list1, &QTreeWidget::itemDoubleClicked, this, [this] { AddClick(); });

    auto *add = new QPushButton(Icons::icon(QStringLiteral("nav_next")), T("F_Load_B_Add_Caption"), this);
    add->setObjectName(QStringLiteral("Add"));
    connect(add, &QPushButton::clicked, this, &TF_Load_B::AddClick);
    auto *noAdd = new QPushButton(Icons::icon(QStringLiteral("nav_back")), T("F_Load_B_NoAdd_Caption"), this);
    noAdd->setObjectName(QStringLiteral("NoAdd"));
    connect(noAdd, &QPushButton::clicked, this, &TF_Load_B::NoAddClick);
    auto *middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(add);
    middle->addWidget(noAdd);
    middle->addStretch();

    auto *yes = new QPushButton(Icons::icon(QStringLiteral("ok")), T("F_Load_B_B_YES_Caption"), this);
    yes->setObjectName(QStringLiteral("B_YES"));
    connect(yes, &QPushButton::clicked, this, &TF_Load_B::B_YESClick);
    auto *no = new QPushButton(T("STAN_CANC"), this);
    no->setObjectName(QStringLiteral("B_NO"));
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(T("F_Load_B_Label1_Caption"), this));
    top->addWidget(m_target, 1);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(choose);
    pathRow->addWidget(m_pathEdit, 1);
    auto *lists = new QGridLayout;
    lists->addWidget(new QLabel(T("F_Load_B_Label2_Caption"), this), 0, 0);
    lists->addWidget(new QLabel(T("F_Load_B_Label3_Caption"), this), 0, 2);
    lists->addWidget(m_list1, 1, 0);
    lists->addLayout(middle, 1, 1);
    lists->addWidget(m_list2, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(pathRow);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(960, 420);
}

void TF_Load_B::prepare(const QString &workFolder, const QString &installation)
{
    m_folder = Paths::withSlash(workFolder);
    m_installation = installation;
    m_path.clear();
    m_sources.clear();
    m_chosen.clear();
    m_loaded.clear();
    m_target->setText(installation);
    m_pathEdit->clear();
    m_list1->clear();
    m_list2->clear();
}

void TF_Load_B::SpeedButton1Click()
{
    const QString path = Dialogs::instance().openFile(T("F_Load_B_SpeedButton1_Caption"), m_folder,
                                                      QStringLiteral("AXO Install Files|*.axo"));
    if (!path.isEmpty())
        choose(path);
}

void TF_Load_B::choose(const QString &path)
{
    m_path = path;
    m_pathEdit->setText(path);
    m_sources.clear();
    m_list1->clear();
    const QFileInfo info(path);
    QList<BlockRecord> records;
    try {
        records = InstallationFile(Paths::withSlash(info.absolutePath()), InstallationStore::installationNameOf(path)).readBlocks();
    } catch (const std::exception &) {
        // A file that cannot be read leaves the list empty.
    }
    for (const BlockRecord &r : records) {
        const Source s{r.name().left(49), r.code(), r.text(BlockRecord::TypeText).left(39)};
        m_sources << s;
        m_list1->addTopLevelItem(new QTreeWidgetItem(QStringList{two(s.code), s.name, s.type}));
    }
    if (!m_sources.isEmpty())
        m_list1->setCurrentItem(m_list1->topLevelItem(0));
}

void TF_Load_B::AddClick()
{
    const int row = m_list1->indexOfTopLevelItem(m_list1->currentItem());
    if (row < 0 || row >= m_sources.size())
        return;
    const Source &source = m_sources[row];
    QList<BlockRules::UsedBlock> used, pending;
    try {
        used = BlockRules::usedBlocks(m_folder, m_installation);
    } catch (const StoreError &e) {
        Dialogs::instance().warning(e.text());
        return;
    }
    for (const Chosen &c : m_chosen)
        pending << BlockRules::UsedBlock{c.newName, c.newCode};
    TF_Load_B_Name dialog(this);
    dialog.setValues(source.name, source.code);
    dialog.setUsed(used, pending);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_chosen << Chosen{source.name, dialog.newName(), dialog.newCode(), source.type};
    fillChosen();
}

void TF_Load_B::NoAddClick()
{
    const int row = m_list2->indexOfTopLevelItem(m_list2->currentItem());
    if (row < 0 || row >= m_chosen.size())
        return;
    m_chosen.removeAt(row);
    fillChosen();
}

void TF_Load_B::fillChosen()
{
    m_list2->clear();
    for (const Chosen &c : m_chosen)
        m_list2->addTopLevelItem(new QTreeWidgetItem(QStringList{two(c.newCode), c.newName, c.type, c.sourceName}));
    if (!m_chosen.isEmpty())
        m_list2->setCurrentItem(m_list2->topLevelItem(int(m_chosen.size()) - 1));
}

void TF_Load_B::B_YESClick()
{
    m_loaded.clear();
    if (m_chosen.isEmpty() || m_path.isEmpty()) {
        reject();
        return;
    }
    QList<InstallationStore::LoadChoice> choices;
    for (const Chosen &c : m_chosen)
        choices << InstallationStore::LoadChoice{c.sourceName, c.newName, c.newCode};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StoreOutcome outcome;
    QString failure;
    try {
        outcome = InstallationStore::loadBlocks(m_folder, m_installation, m_path, choices, &m_loaded);
    } catch (const StoreError &e) {
        failure = e.text();
    } catch (const EngineError &e) {
        failure = e.text();
    }
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty())
        Dialogs::instance().warning(failure);
    else if (!outcome)
        Dialogs::instance().warning(outcome.message);
    // Blocks loaded before a failure stay loaded: the caller adds them too.
    if (m_loaded.isEmpty() && (!failure.isEmpty() || !outcome))
        return;
    accept();
}

QStringList TF_Load_B::run(QWidget *parent, const QString &workFolder, const QString &installation)
{
    TF_Load_B window(parent);
    window.prepare(workFolder, installation);
    window.exec();
    return window.loadedBlocks();
}
