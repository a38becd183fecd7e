#include "editors/ui/F_Princ.h"

#include "common/ui/Icons.h"
#include "link/BlockFlags.h"
#include "editors/InstallationOpening.h"
#include "editors/ui/F_Componente.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "store/InstallationFile.h"
#include "store/InstallationStore.h"
#include "store/SharedTables.h"
#include "store/StoreTexts.h"
#include "store/TableFamilies.h"
#include "store/engine/EngineError.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QSet>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <malloc.h>

namespace {

QString T(const QString &key) { return Lang::text(key); }
QString T(const char *key) { return Lang::text(QLatin1String(key)); }

constexpr int kKeyRole = Qt::UserRole + 1;

QHash<QString, TF_Principal::Handler> &registry()
{
    static QHash<QString, TF_Principal::Handler> handlers;
    return handlers;
}
TF_Principal::BlockQuestion &deleteQuestion()
{
    static TF_Principal::BlockQuestion question;
    return question;
}
TF_Principal::SessionCu &sessionCu()
{
    static TF_Principal::SessionCu provider;
    return provider;
}

// An icon of the set with a small coloured disc in its lower right corner.
QIcon badged(const QString &name, const QColor &colour)
{
    QPixmap pm = Icons::pixmap(name, 16);
    if (pm.isNull())
        return {};
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(9.5, 9.5, 6, 6));
    return QIcon(pm);
}

QIcon rowIcon(ItemLists::RowIcon icon)
{
    using R = ItemLists::RowIcon;
    static const QHash<int, QIcon> icons = [] {
        QHash<int, QIcon> h;
        h.insert(int(R::UserInMemory), badged(QStringLiteral("user"), QColor(0x2e, 0x9e, 0x44)));
        h.insert(int(R::UserNotInMemory), badged(QStringLiteral("user"), QColor(0x9a, 0x9a, 0x9a)));
        h.insert(int(R::Profile), Icons::icon(QStringLiteral("profile")));
        h.insert(int(R::Profile120), badged(QStringLiteral("profile"), QColor(0xe0, 0x8a, 0x00)));
        h.insert(int(R::Profile125), badged(QStringLiteral("profile"), QColor(0x7b, 0x3f, 0xb0)));
        h.insert(int(R::Profile126), badged(QStringLiteral("profile"), QColor(0xc6, 0x28, 0x28)));
        h.insert(int(R::Profile127), badged(QStringLiteral("profile"), QColor(0x15, 0x65, 0xc0)));
        return h;
    }();
    return icons.value(int(icon));
}

// The installation tree: accepts a component dropped on another component
// of the same block, nothing else.
class ArbolTree : public QTreeWidget {
public:
    explicit ArbolTree(TF_Principal *window) : QTreeWidget(window), m_window(window) {}

protected:
    // Only rows of this tree are taken: the drag carries the view's own rows.
    static bool ownRows(const QDropEvent *event)
    {
        return event->mimeData() && event->mimeData()->hasFormat(QStringLiteral("application/x-qabstractitemmodeldatalist"));
    }
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (ownRows(event) && currentItem())
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dragMoveEvent(QDragMoveEvent *event) override
    {
        QTreeWidgetItem *target = itemAt(event->position().toPoint());
        const QList<int> from = pathOf(currentItem());
        const QList<int> to = pathOf(target);
        if (InstWinRules::canMoveComponent(from, to))
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dropEvent(QDropEvent *event) override
    {
        QTreeWidgetItem *source = currentItem();
        QTreeWidgetItem *target = itemAt(event->position().toPoint());
        if (source && target && ownRows(event))
            m_window->dropComponent(source, target);
        // The move is made by the window; the view must not remove the source.
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
    }

private:
    static QList<int> pathOf(const QTreeWidgetItem *item)
    {
        QList<int> path;
        while (item && item->parent()) {
            path.prepend(item->parent()->indexOfChild(const_cast<QTreeWidgetItem *>(item)));
            item = item->parent();
        }
        return path;
    }
    TF_Principal *m_window;
};

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    l->setFont(f);
    return l;
}

QToolButton *actionButton(QAction *action, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setIconSize(QSize(20, 20));
    return b;
}

// A group that folds to its heading with a small plus / minus button.
QWidget *foldingGroup(const QString &name, const QString &title, const QList<QAction *> &actions, QWidget *parent)
{
    auto *box = new QFrame(parent);
    box->setObjectName(name);
    box->setFrameShape(QFrame::StyledPanel);
    auto *v = new QVBoxLayout(box);
    auto *head = new QHBoxLayout;
    auto *fold = new QToolButton(box);
    fold->setObjectName(name + QStringLiteral("_FOLD"));
    fold->setText(QStringLiteral("\u2212"));
    fold->setAutoRaise(true);
    fold->setFixedSize(20, 20);
    head->addWidget(fold);
    head->addWidget(heading(title, box));
    head->addStretch();
    v->addLayout(head);
    auto *body = new QWidget(box);
    auto *bv = new QVBoxLayout(body);
    bv->setContentsMargins(24, 0, 0, 0);
    for (QAction *a : actions)
        bv->addWidget(actionButton(a, body), 0, Qt::AlignLeft);
    v->addWidget(body);
    QObject::connect(fold, &QToolButton::clicked, body, [fold, body] {
        body->setVisible(!body->isVisible());
        fold->setText(body->isVisible() ? QStringLiteral("\u2212") : QStringLiteral("+"));
    });
    return box;
}

} // namespace

// --- registry ----------------------------------------------------------------

void TF_Principal::registerCommand(const QString &name, Handler handler)
{
    registry().insert(name, std::move(handler));
}
void TF_Principal::unregisterCommand(const QString &name) { registry().remove(name); }
bool TF_Principal::hasCommand(const QString &name) { return registry().contains(name); }
void TF_Principal::setDeleteBlockQuestion(BlockQuestion question) { deleteQuestion() = std::move(question); }
void TF_Principal::setSessionCu(SessionCu provider) { sessionCu() = std::move(provider); }

// --- creation ----------------------------------------------------------------

TF_Principal::TF_Principal(ProgramState &state, QWidget *parent)
    : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("F_Princ"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Creating the window: per-block flags cleared, the editing options on.
    BlockFlags::clearAll();
    m_state.resetEditingOptions();
    buildCommands();
    buildWidgets();
    buildMenus();
    applyLevel();
    applyTexts();
    updateCommands();
}

TF_Principal::~TF_Principal() = default;

QAction *TF_Principal::makeAction(const QString &name, const QString &icon, std::function<void()> work,
                                  const QString &handler)
{
    auto *a = new QAction(this);
    a->setObjectName(name);
    if (!icon.isEmpty())
        a->setIcon(Icons::icon(icon));
    connect(a, &QAction::triggered, this, [this, work] {
        try {
            work();
        } catch (const std::exception &e) {
            QApplication::restoreOverrideCursor();
            Dialogs::instance().warning(QString::fromStdString(e.what()));
        }
    });
    m_actions.insert(name, a);
    if (!handler.isEmpty())
        m_handlerOf.insert(name, handler);
    m_ruleEnabled.insert(name, true);
    return a;
}

void TF_Principal::buildCommands()
{
    auto h = [this](const char *handler) { return [this, handler] { run(QLatin1String(handler)); }; };
    // "Block actions"
    makeAction(QStringLiteral("B_NEW_COMPONENT"), QStringLiteral("nav_new"), [this] { addComponent(); });
    makeAction(QStringLiteral("B_NEW_BLOCK"), QStringLiteral("block"), [this] {
        run(QStringLiteral("NEW_BLOCK"));
        afterBlocksChanged();
        run(QStringLiteral("AUTO_TEST"));
    }, QStringLiteral("NEW_BLOCK"));
    makeAction(QStringLiteral("B_DELETE_COMPONENT"), QStringLiteral("nav_delete"), [this] { deleteComponent(); });
    makeAction(QStringLiteral("B_DELETE_BLOCK"), QStringLiteral("block_off"), [this] { deleteBlock(); },
               QStringLiteral("?DELETE_BLOCK"));
    makeAction(QStringLiteral("B_LOAD_BLOCK"), QStringLiteral("open"), [this] {
        run(QStringLiteral("LOAD_BLOCK"));
        afterBlocksChanged();
    }, QStringLiteral("LOAD_BLOCK"));
    makeAction(QStringLiteral("B_RELES"), QStringLiteral("relay"), h("RELAYS"), QStringLiteral("RELAYS"));
    makeAction(QStringLiteral("B_MODEM"), QStringLiteral("connection"), h("MODEM_ON"), QStringLiteral("MODEM_ON"));
    // "Features"
    makeAction(QStringLiteral("B_ADVANCED"), QStringLiteral("user"), [this] { usersManagement(); },
               QStringLiteral("USERS_MANAGEMENT"));
    makeAction(QStringLiteral("B_INST_USER"), QStringLiteral("user"), h("FIND_USER"), QStringLiteral("FIND_USER"));
    makeAction(QStringLiteral("B_TEST"), QStringLiteral("test"), h("TEST_INSTALLATION"),
               QStringLiteral("TEST_INSTALLATION"));
    makeAction(QStringLiteral("B_INCID"), QStringLiteral("status"), h("INCIDENCES"), QStringLiteral("INCIDENCES"));
    makeAction(QStringLiteral("B_EXPORT"), QStringLiteral("copy"), h("EXPORT"), QStringLiteral("EXPORT"));
    makeAction(QStringLiteral("B_CONTROL_PANEL"), QStringLiteral("central_unit"), [this] { controlPanel(); },
               QStringLiteral("CONTROL_PANEL"));
    makeAction(QStringLiteral("B_NEW_USER"), QStringLiteral("nav_new"), h("NEW_USER"), QStringLiteral("NEW_USER"));
    // List toolbar
    makeAction(QStringLiteral("B_UPAXO"), QStringLiteral("central_unit"), h("SEND"), QStringLiteral("SEND"));
    makeAction(QStringLiteral("B_EDIT"), QStringLiteral("options"), [this] { runEdit(); }, QStringLiteral("?EDIT"));
    makeAction(QStringLiteral("B_FUSER"), QStringLiteral("user"), [this] {
        m_findBar->setVisible(true);
        m_findText->setFocus();
        m_findText->selectAll();
    });
    makeAction(QStringLiteral("B_IMEX"), QStringLiteral("copy"), h("IMPORT_EXPORT_XLS"),
               QStringLiteral("IMPORT_EXPORT_XLS"));
    makeAction(QStringLiteral("B_IE"), QStringLiteral("work_folder"), h("IMPORT_EXPORT_FILES"),
               QStringLiteral("IMPORT_EXPORT_FILES"));
    // Pages
    makeAction(QStringLiteral("B_COPY_INST"), QStringLiteral("copy"), [this] { copyInstallation(); });
    makeAction(QStringLiteral("B_SUMMARY"), QStringLiteral("status"), h("BLOCKS_SUMMARY"),
               QStringLiteral("BLOCKS_SUMMARY"));
    makeAction(QStringLiteral("B_SAVE_BLOCK"), QStringLiteral("nav_save"), [this] { saveBlock(); });
    makeAction(QStringLiteral("B_RESTRICTIONS"), QStringLiteral("profile"), [this] { goToRestrictions(); });
    makeAction(QStringLiteral("B_TRADES"), QStringLiteral("trades"), h("TRADES"), QStringLiteral("TRADES"));
    // Menus
    makeAction(QStringLiteral("M_EDIT_DATA"), QStringLiteral("options"), [this] { runEdit(); }, QStringLiteral("?EDIT"));
    makeAction(QStringLiteral("M_UPDATE_DATA"), QStringLiteral("central_unit"), h("SEND"), QStringLiteral("SEND"));
    makeAction(QStringLiteral("M_REFRESH"), QString(), [this] { refreshSelection(); });
    makeAction(QStringLiteral("M_UPD_USERS"), QStringLiteral("user"), h("SEND_USERS"), QStringLiteral("SEND_USERS"));
    makeAction(QStringLiteral("M_UPD_CONFIG"), QStringLiteral("options"), h("SEND_CONFIG"), QStringLiteral("SEND_CONFIG"));
    makeAction(QStringLiteral("M_UPD_ALL"), QStringLiteral("central_unit"), h("SEND_ALL"), QStringLiteral("SEND_ALL"));
    makeAction(QStringLiteral("M_EXPAND"), QString(), [this] { m_tree->expandAll(); });
    makeAction(QStringLiteral("M_COLLAPSE"), QString(), [this] { m_tree->collapseAll(); });
    m_itemEntry = makeAction(QStringLiteral("M_ITEM"), QStringLiteral("central_unit"), h("SEND"), QStringLiteral("SEND"));
    // The pages' own captions for commands of the toolbars.
    const QList<QPair<const char *, const char *>> aliases = {
        {"L_INC_REG", "B_INCID"},         {"L_TEST", "B_TEST"},           {"L_USERS", "B_ADVANCED"},
        {"L_CONTROL", "B_CONTROL_PANEL"}, {"L_NEW_BLOCK", "B_NEW_BLOCK"}, {"L_LOAD_BLOCK", "B_LOAD_BLOCK"},
        {"L_RELAYS", "B_RELES"}};
    for (const auto &[alias, of] : aliases) {
        QAction *original = m_actions.value(QLatin1String(of));
        makeAction(QLatin1String(alias), QString(), [original] { original->trigger(); },
                   m_handlerOf.value(QLatin1String(of)))
            ->setIcon(original->icon());
        m_aliasOf.insert(QLatin1String(alias), QLatin1String(of));
    }
}

void TF_Principal::buildWidgets()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *bars = new QHBoxLayout;
    bars->setSpacing(0);
    m_blockBar = new QToolBar(this);
    m_blockBar->setObjectName(QStringLiteral("TB_BLOCK"));
    m_featureBar = new QToolBar(this);
    m_featureBar->setObjectName(QStringLiteral("TB_FEATURES"));
    for (QToolBar *bar : {m_blockBar, m_featureBar}) {
        bar->setIconSize(QSize(18, 18));
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    for (const char *n : {"B_NEW_COMPONENT", "B_NEW_BLOCK", "B_DELETE_COMPONENT", "B_DELETE_BLOCK", "B_LOAD_BLOCK",
                          "B_RELES", "B_MODEM"})
        m_blockBar->addAction(m_actions.value(QLatin1String(n)));
    for (const char *n : {"B_ADVANCED", "B_INST_USER", "B_TEST", "B_INCID", "B_EXPORT", "B_CONTROL_PANEL", "B_NEW_USER"})
        m_featureBar->addAction(m_actions.value(QLatin1String(n)));
    // The two toolbars stand one above the other, so that every command
    // stays in sight at 1280 pixels.
    auto *stack = new QVBoxLayout;
    stack->setSpacing(0);
    stack->addWidget(m_blockBar);
    stack->addWidget(m_featureBar);
    bars->addLayout(stack, 1);
    m_modemCall = new QLabel(this);
    m_modemCall->setObjectName(QStringLiteral("L_MODEM_CALL"));
    m_modemCall->setStyleSheet(QStringLiteral("QLabel{color:#b00020;font-weight:bold;padding:0 8px;}"));
    m_modemCall->hide();
    bars->addWidget(m_modemCall);
    outer->addLayout(bars);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("Splitter"));
    auto *left = new QWidget(split);
    auto *lv = new QVBoxLayout(left);
    lv->setContentsMargins(4, 4, 0, 4);
    m_tree = new ArbolTree(this);
    m_tree->setParent(left);
    m_tree->setObjectName(QStringLiteral("Arbol"));
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(18, 18));
    // Deep captions scroll sideways instead of being cut short.
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->setDragEnabled(true);
    m_tree->setAcceptDrops(true);
    m_tree->setDropIndicatorShown(true);
    m_tree->setDragDropMode(QAbstractItemView::InternalMove);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    lv->addWidget(m_tree);
    m_blockList = new QListWidget(left);
    m_blockList->setObjectName(QStringLiteral("Arbol2"));
    m_blockList->setIconSize(QSize(18, 18));
    m_blockList->hide();
    lv->addWidget(m_blockList);
    split->addWidget(left);

    auto *right = new QWidget(split);
    auto *rv = new QVBoxLayout(right);
    rv->setContentsMargins(0, 4, 4, 4);
    m_captionLine = new QLabel(right);
    m_captionLine->setObjectName(QStringLiteral("L_Cuerpo"));
    m_captionLine->setStyleSheet(QStringLiteral(
        "QLabel{background:#25466e;color:white;font-weight:bold;padding:6px 10px;border-radius:2px;}"));
    rv->addWidget(m_captionLine);
    m_pages = new QStackedWidget(right);
    m_pages->setObjectName(QStringLiteral("Pages"));
    rv->addWidget(m_pages, 1);
    split->addWidget(right);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({300, 980});
    outer->addWidget(split, 1);

    using P = InstWinRules::Page;
    auto addPage = [this](P page, QWidget *w) {
        m_pages->addWidget(w);
        m_pageOf.insert(int(page), w);
    };
    addPage(P::Installation, buildInstallationPage());
    addPage(P::Block, buildBlockPage());
    addPage(P::List, buildListPage());
    addPage(P::AccessControlInfo, buildInfoPage(QStringLiteral("Panel_C_ACCESOS"), 1, 4));
    addPage(P::HolidaysInfo, buildInfoPage(QStringLiteral("PANEL_HOLIDAYS"), 5, 3));
    auto *trades = new QWidget;
    auto *tl = new QHBoxLayout(trades);
    tl->setContentsMargins(0, 0, 0, 0);
    tl->addWidget(actionButton(m_actions.value(QStringLiteral("B_TRADES")), trades));
    tl->addStretch();
    addPage(P::TradesInfo, buildInfoPage(QStringLiteral("PANEL_TRADES"), 8, 3, trades));
    addPage(P::LiftInfo, buildInfoPage(QStringLiteral("PANEL_LIFT"), 11, 3));
    auto *empty = new QWidget;
    empty->setObjectName(QStringLiteral("PANEL_NONE"));
    addPage(P::None, empty);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { handleSelection(); });
    connect(m_tree, &QWidget::customContextMenuRequested, this, &TF_Principal::treeMenu);
    connect(m_blockList, &QListWidget::currentRowChanged, this, [this] { handleBlockListSelection(); });
}

QWidget *TF_Principal::buildInstallationPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("PANEL_INSTAL"));
    auto *v = new QVBoxLayout(page);
    auto *tabs = new QTabWidget(page);
    auto *general = new QWidget(tabs);
    general->setObjectName(QStringLiteral("TS_GENERAL"));
    auto *g = new QVBoxLayout(general);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("<img src=\":/icons/installation.svg\" width=40 height=40>"), general));
    auto *names = new QVBoxLayout;
    m_installLabel = heading(QString(), general);
    m_installLabel->setObjectName(QStringLiteral("L_INSTALACION"));
    names->addWidget(m_installLabel);
    m_blocksLabel = new QLabel(general);
    m_blocksLabel->setObjectName(QStringLiteral("L_NUM_BLOQUES"));
    names->addWidget(m_blocksLabel);
    top->addLayout(names);
    top->addStretch();
    g->addLayout(top);
    auto *groups = new QHBoxLayout;
    QList<QAction *> featureActions;
    for (const char *n : {"L_INC_REG", "L_TEST", "L_USERS", "L_CONTROL"})
        featureActions << m_actions.value(QLatin1String(n));
    QList<QAction *> maintenance;
    for (const char *n : {"L_NEW_BLOCK", "L_LOAD_BLOCK", "B_COPY_INST", "B_SUMMARY"})
        maintenance << m_actions.value(QLatin1String(n));
    groups->addWidget(foldingGroup(QStringLiteral("GB_FEATURES"), T("F_Princ_GB_FEATURES_caption"), featureActions, general),
                      0, Qt::AlignTop);
    groups->addWidget(foldingGroup(QStringLiteral("GB_MAINTENANCE"), T("F_Princ_GB_MAINTENANCE_caption"), maintenance,
                                   general),
                      0, Qt::AlignTop);
    groups->addStretch();
    g->addLayout(groups);
    g->addStretch();
    tabs->addTab(general, T("F_Princ_TS_GENERAL_caption"));
    v->addWidget(tabs);
    return page;
}

QWidget *TF_Principal::buildBlockPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("PANEL_BLOQUES"));
    auto *v = new QVBoxLayout(page);
    auto *box = new QGroupBox(T("F_Princ_GB_BLOCK_caption"), page);
    auto *form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignRight);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_blockName = new QLineEdit(box);
    m_blockName->setObjectName(QStringLiteral("E_NOMBRE_BLOQUE"));
    m_blockName->setReadOnly(true);
    m_blockName->setMaximumWidth(320);
    m_blockType = new QComboBox(box);
    m_blockType->setObjectName(QStringLiteral("C_TIPO"));
    m_blockType->setMinimumWidth(320);
    m_blockType->setMaximumWidth(360);
    m_blockCode = new QLineEdit(box);
    m_blockCode->setObjectName(QStringLiteral("E_CODIGO"));
    m_blockCode->setMaxLength(2);
    m_blockCode->setMaximumWidth(50);
    form->addRow(T("F_Princ_L_BLOCK_NAME_caption"), m_blockName);
    form->addRow(T("F_Princ_L_CU_TYPE_caption"), m_blockType);
    form->addRow(T("F_Princ_L_CU_CODE_caption"), m_blockCode);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(actionButton(m_actions.value(QStringLiteral("B_SAVE_BLOCK")), box));
    buttons->addWidget(actionButton(m_actions.value(QStringLiteral("L_RELAYS")), box));
    auto *restrictions = actionButton(m_actions.value(QStringLiteral("B_RESTRICTIONS")), box);
    m_restrictions = restrictions;
    buttons->addWidget(restrictions);
    buttons->addStretch();
    form->addRow(buttons);
    v->addWidget(box);
    v->addStretch();
    return page;
}

QWidget *TF_Principal::buildListPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("PANEL_LISTA"));
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 4, 0, 0);
    auto *top = new QHBoxLayout;
    m_listBar = new QToolBar(page);
    m_listBar->setObjectName(QStringLiteral("TB_LIST"));
    m_listBar->setIconSize(QSize(16, 16));
    m_listBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const char *n : {"B_UPAXO", "B_EDIT", "B_FUSER", "B_IMEX", "B_IE"})
        m_listBar->addAction(m_actions.value(QLatin1String(n)));
    top->addWidget(m_listBar, 1);
    m_progress = new QProgressBar(page);
    m_progress->setObjectName(QStringLiteral("PB_LISTA"));
    m_progress->setMaximumWidth(160);
    m_progress->hide();
    top->addWidget(m_progress);
    m_objects = new QLabel(page);
    m_objects->setObjectName(QStringLiteral("L_OBJETOS"));
    top->addWidget(m_objects);
    v->addLayout(top);

    m_findBar = new QWidget(page);
    m_findBar->setObjectName(QStringLiteral("FIND_BAR"));
    auto *fb = new QHBoxLayout(m_findBar);
    fb->setContentsMargins(0, 0, 0, 0);
    fb->addWidget(new QLabel(T("F_Princ_L_FIND_caption"), m_findBar));
    m_findText = new QLineEdit(m_findBar);
    m_findText->setObjectName(QStringLiteral("E_FIND"));
    m_findText->setMaximumWidth(220);
    fb->addWidget(m_findText);
    auto *down = new QPushButton(Icons::icon(QStringLiteral("nav_next")), T("F_Princ_B_FIND_DOWN_caption"), m_findBar);
    down->setObjectName(QStringLiteral("B_FIND_DOWN"));
    auto *up = new QPushButton(Icons::icon(QStringLiteral("nav_back")), T("F_Princ_B_FIND_UP_caption"), m_findBar);
    up->setObjectName(QStringLiteral("B_FIND_UP"));
    auto *close = new QToolButton(m_findBar);
    close->setIcon(Icons::icon(QStringLiteral("close")));
    close->setAutoRaise(true);
    fb->addWidget(down);
    fb->addWidget(up);
    fb->addWidget(close);
    fb->addStretch();
    connect(down, &QPushButton::clicked, this, [this] { findInList(true); });
    connect(up, &QPushButton::clicked, this, [this] { findInList(false); });
    connect(m_findText, &QLineEdit::returnPressed, this, [this] { findInList(true); });
    connect(close, &QToolButton::clicked, m_findBar, &QWidget::hide);
    m_findBar->hide();
    v->addWidget(m_findBar);

    m_listView = new QTreeWidget(page);
    m_listView->setObjectName(QStringLiteral("Lista_Principal"));
    m_listView->setRootIsDecorated(false);
    m_listView->setUniformRowHeights(true);
    m_listView->setAlternatingRowColors(true);
    m_listView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_listView->header()->setStretchLastSection(true);
    v->addWidget(m_listView, 1);
    connect(m_listView, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_actions.value(QStringLiteral("B_EDIT"))->isEnabled())
            runEdit();
    });
    connect(m_listView, &QWidget::customContextMenuRequested, this, &TF_Principal::listMenu);
    return page;
}

QWidget *TF_Principal::buildInfoPage(const QString &name, int firstLine, int lines, QWidget *extra)
{
    auto *page = new QWidget;
    page->setObjectName(name);
    auto *v = new QVBoxLayout(page);
    auto *frame = new QFrame(page);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setStyleSheet(QStringLiteral("QFrame{background:#f4f7fb;}"));
    auto *fv = new QVBoxLayout(frame);
    for (int i = firstLine; i < firstLine + lines; ++i) {
        auto *l = new QLabel(T(QStringLiteral("F_Princ_Label24_caption%1").arg(i)), frame);
        l->setWordWrap(true);
        if (i == firstLine) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
        fv->addWidget(l);
    }
    if (extra)
        fv->addWidget(extra);
    v->addWidget(frame);
    v->addStretch();
    return page;
}

void TF_Principal::buildMenus()
{
    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("PopupLista"));
    for (const char *n : {"M_EDIT_DATA", "M_UPDATE_DATA", "M_REFRESH"})
        m_listMenu->addAction(m_actions.value(QLatin1String(n)));
    m_blockMenu = new QMenu(this);
    m_blockMenu->setObjectName(QStringLiteral("PopupBloques"));
    QMenu *update = m_blockMenu->addMenu(Icons::icon(QStringLiteral("central_unit")), QString());
    update->setObjectName(QStringLiteral("M_UPDATE_CU"));
    for (const char *n : {"M_UPD_USERS", "M_UPD_CONFIG", "M_UPD_ALL"})
        update->addAction(m_actions.value(QLatin1String(n)));
    m_blockMenu->addSeparator();
    m_blockMenu->addAction(m_actions.value(QStringLiteral("M_EXPAND")));
    m_blockMenu->addAction(m_actions.value(QStringLiteral("M_COLLAPSE")));
    m_itemMenu = new QMenu(this);
    m_itemMenu->setObjectName(QStringLiteral("PopupItems"));
    m_itemMenu->addAction(m_itemEntry);
    m_itemMenu->addSeparator();
    m_itemMenu->addAction(m_actions.value(QStringLiteral("M_EXPAND")));
    m_itemMenu->addAction(m_actions.value(QStringLiteral("M_COLLAPSE")));
}

void TF_Principal::applyTexts()
{
    setWindowTitle(T("F_Princ_caption"));
    m_blockBar->setWindowTitle(T("F_Princ_TB_BLOCK_caption"));
    m_featureBar->setWindowTitle(T("F_Princ_TB_FEATURES_caption"));
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        if (it.key() == QLatin1String("M_ITEM"))
            continue;
        it.value()->setText(T(QStringLiteral("F_Princ_%1_caption").arg(it.key())));
        const QString hint = Lang::text(QStringLiteral("F_Princ_%1_Hint").arg(it.key()), QString());
        it.value()->setProperty("hint", hint.isEmpty() ? it.value()->text().remove(QLatin1Char('&')) : hint);
    }
    if (QMenu *update = m_blockMenu->findChild<QMenu *>(QStringLiteral("M_UPDATE_CU")))
        update->setTitle(T("F_Princ_M_UPDATE_CU_caption"));
    m_modemCall->setText(T("F_Princ_MODEM_CALL00"));
    m_blockType->clear();
    for (const char *k : {"TIPO_INS1", "TIPO_INS2", "TIPO_INS3"})
        m_blockType->addItem(Lang::message(QLatin1String(k)));
}

void TF_Principal::applyLevel()
{
    if (m_state.operatorLevel != 2)
        return;
    m_blockBar->hide();
    m_actions.value(QStringLiteral("B_CONTROL_PANEL"))->setVisible(false);
    m_actions.value(QStringLiteral("B_TEST"))->setVisible(false);
    m_actions.value(QStringLiteral("L_CONTROL"))->setVisible(false);
    m_actions.value(QStringLiteral("L_TEST"))->setVisible(false);
    m_tree->hide();
    m_blockList->show();
    m_featureBar->setIconSize(QSize(32, 32));
    m_featureBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
}

// --- commands state --------------------------------------------------------

void TF_Principal::updateCommands()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        QAction *a = it.value();
        const QString handler = m_handlerOf.value(it.key());
        bool available = true;
        if (handler == QLatin1String("?EDIT"))
            available = m_kind != 0 && registry().contains(QStringLiteral("EDIT_") + ItemLists::keyOfKind(m_kind));
        else if (handler == QLatin1String("?DELETE_BLOCK"))
            available = bool(deleteQuestion());
        else if (!handler.isEmpty())
            available = registry().contains(handler);
        a->setEnabled(available && m_ruleEnabled.value(m_aliasOf.value(it.key(), it.key()), true));
        const QString tip = available ? a->property("hint").toString() : T("MainForm_NotAvailable");
        a->setToolTip(tip);
        a->setStatusTip(available ? QString() : tip);
    }
}

void TF_Principal::run(const QString &handler)
{
    const Handler h = registry().value(handler);
    if (h)
        h(*this);
}

// --- opening ---------------------------------------------------------------

QString TF_Principal::workFolder() const { return m_state.workFolder; }

bool TF_Principal::openInstallation(const QString &path)
{
    InstallationOpening opening;
    try {
        opening = InstallationOpening::read(path);
    } catch (const std::exception &e) {
        Dialogs::instance().warning(QString::fromStdString(e.what()));
        return false;
    }
    m_state.workFolder = opening.folder;
    m_installation = opening.name;
    m_blockCount = opening.blockCount;
    fillTree(opening.tree);
    m_installLabel->setText(m_installation);
    m_blocksLabel->setText(T("F_Princ_L_NUM_BLOQUES_caption") + QLatin1Char(' ') + m_blockCount);
    m_state.installationName = m_installation;
    if (!opening.port.isEmpty())
        m_state.settings.sysPort = opening.port;
    m_state.modemInstallation = opening.modem;
    setWindowTitle(T("F_Princ_caption") + QStringLiteral(" - ") + m_installation);
    if (QTreeWidgetItem *root = m_tree->topLevelItem(0)) {
        m_tree->setCurrentItem(root);
        root->setExpanded(true);
    }
    m_opened = true;
    if (m_state.settings.autoTestOn() && !m_state.modemInstallation)
        run(QStringLiteral("AUTO_TEST"));
    refreshIcons();
    if (m_state.operatorLevel == 2)
        fillBlockList();
    handleSelection();
    return true;
}

void TF_Principal::fillTree(const InstallationTree &tree)
{
    m_codes.clear();
    m_types.clear();
    try {
        const InstallationFile axo(workFolder(), m_installation);
        for (const BlockRecord &r : axo.readBlocks()) {
            m_codes.insert(r.name(), r.code());
            m_types.insert(r.name(), axo.blockType(r.name()));
        }
    } catch (const std::exception &) {
    }
    const QSignalBlocker blocker(m_tree);
    m_tree->clear();
    const TreeNode displayed = tree.displayed(InstallationTree::currentVocabulary());
    // The displayed tree and the vocabulary keys go side by side: each item
    // keeps the key of its node.
    std::function<QTreeWidgetItem *(const TreeNode &, const TreeNode &, int)> make =
        [&](const TreeNode &shown, const TreeNode &keys, int level) {
            auto *item = new QTreeWidgetItem(QStringList{shown.caption});
            if (level >= 2)
                item->setData(0, kKeyRole, keys.caption);
            for (int i = 0; i < shown.children.size() && i < keys.children.size(); ++i)
                item->addChild(make(shown.children[i], keys.children[i], level + 1));
            return item;
        };
    QTreeWidgetItem *root = make(displayed, tree.root(), 0);
    root->setText(0, m_installation);
    m_tree->addTopLevelItem(root);
    refreshIcons();
}

void TF_Principal::reloadTree()
{
    const QList<int> path = pathOf(m_tree->currentItem());
    // The branches the operator had open stay open: they are remembered by
    // their captions from the root down, which survive the reload.
    QSet<QString> expanded;
    std::function<void(QTreeWidgetItem *, const QString &)> remember = [&](QTreeWidgetItem *item, const QString &at) {
        const QString here = at + QLatin1Char('\n') + item->text(0);
        if (item->isExpanded())
            expanded.insert(here);
        for (int i = 0; i < item->childCount(); ++i)
            remember(item->child(i), here);
    };
    if (QTreeWidgetItem *root = m_tree->topLevelItem(0))
        remember(root, QString());
    try {
        fillTree(InstallationStore::loadTree(workFolder(), m_installation));
    } catch (const std::exception &e) {
        Dialogs::instance().warning(QString::fromStdString(e.what()));
        return;
    }
    m_blockCount = InstallationFile(workFolder(), m_installation).countBlocks();
    m_blocksLabel->setText(T("F_Princ_L_NUM_BLOQUES_caption") + QLatin1Char(' ') + m_blockCount);
    std::function<void(QTreeWidgetItem *, const QString &)> reopen = [&](QTreeWidgetItem *item, const QString &at) {
        const QString here = at + QLatin1Char('\n') + item->text(0);
        if (expanded.contains(here))
            item->setExpanded(true);
        for (int i = 0; i < item->childCount(); ++i)
            reopen(item->child(i), here);
    };
    if (QTreeWidgetItem *root = m_tree->topLevelItem(0)) {
        reopen(root, QString());
        root->setExpanded(true);
    }
    selectPath(path);
    if (m_state.operatorLevel == 2)
        fillBlockList();
}

void TF_Principal::afterBlocksChanged()
{
    reloadTree();
}

void TF_Principal::refreshIcons()
{
    QTreeWidgetItem *root = m_tree->topLevelItem(0);
    if (root) {
        root->setIcon(0, Icons::icon(m_state.modemInstallation ? QStringLiteral("installation_modem")
                                                               : QStringLiteral("installation")));
        std::function<void(QTreeWidgetItem *)> walk = [&](QTreeWidgetItem *item) {
            for (int i = 0; i < item->childCount(); ++i) {
                QTreeWidgetItem *child = item->child(i);
                const QString key = child->data(0, kKeyRole).toString();
                child->setIcon(0, Icons::icon(Icons::forVocabularyKey(key.isEmpty() ? child->text(0) : key)));
                walk(child);
            }
        };
        for (int b = 0; b < root->childCount(); ++b) {
            QTreeWidgetItem *block = root->child(b);
            const int code = m_codes.value(block->text(0), -1);
            block->setIcon(0, Icons::icon(BlockFlags::hasAnswered(code) ? QStringLiteral("block_ok")
                                                                        : QStringLiteral("block_off")));
            walk(block);
        }
    }
    for (int i = 0; i < m_blockList->count(); ++i) {
        QListWidgetItem *it = m_blockList->item(i);
        const int code = it->data(kKeyRole).toInt();
        it->setIcon(Icons::icon(BlockFlags::hasAnswered(code) ? QStringLiteral("block_ok") : QStringLiteral("block_off")));
    }
    m_actions.value(QStringLiteral("B_MODEM"))->setVisible(m_state.modemInstallation);
}

void TF_Principal::fillBlockList()
{
    const QSignalBlocker blocker(m_blockList);
    m_blockList->clear();
    QTreeWidgetItem *root = m_tree->topLevelItem(0);
    if (!root)
        return;
    for (int b = 0; b < root->childCount(); ++b) {
        const QString name = root->child(b)->text(0);
        const int code = m_codes.value(name, 0);
        auto *it = new QListWidgetItem(InstWinRules::blockListCaption(code, name), m_blockList);
        it->setData(kKeyRole, code);
        it->setData(kKeyRole + 1, name);
    }
    refreshIcons();
}

void TF_Principal::activated()
{
    try {
        refreshIcons();
        m_modemCall->setVisible(m_state.modemCallActive);
        malloc_trim(0);
        if (m_state.operatorLevel == 2) {
            if (m_blockList->currentRow() < 0 && m_blockList->count() > 0)
                m_blockList->setCurrentRow(0);
            else
                handleBlockListSelection();
        } else
            handleSelection();
    } catch (const std::exception &) {
    }
}

// --- tree nodes ------------------------------------------------------------

QList<int> TF_Principal::pathOf(const QTreeWidgetItem *item) const
{
    QList<int> path;
    while (item && item->parent()) {
        path.prepend(item->parent()->indexOfChild(const_cast<QTreeWidgetItem *>(item)));
        item = item->parent();
    }
    return path;
}

QTreeWidgetItem *TF_Principal::blockItemOf(QTreeWidgetItem *item) const
{
    if (!item || !item->parent())
        return nullptr;
    while (item->parent() && item->parent()->parent())
        item = item->parent();
    return item;
}

InstWinRules::Node TF_Principal::nodeOf(const QTreeWidgetItem *item) const
{
    InstWinRules::Node node;
    if (!item)
        return node;
    node.level = int(pathOf(item).size());
    node.caption = item->text(0);
    node.key = item->data(0, kKeyRole).toString();
    if (const QTreeWidgetItem *b = blockItemOf(const_cast<QTreeWidgetItem *>(item)))
        node.block = b->text(0);
    return node;
}

QString TF_Principal::selectedBlock() const
{
    if (m_state.operatorLevel == 2) {
        const QListWidgetItem *it = m_blockList->currentItem();
        return it ? it->data(kKeyRole + 1).toString() : QString();
    }
    return nodeOf(m_tree->currentItem()).block;
}

std::optional<int> TF_Principal::selectedBlockCode() const
{
    const QString block = selectedBlock();
    if (block.isEmpty() || !m_codes.contains(block))
        return std::nullopt;
    return m_codes.value(block);
}

QString TF_Principal::selectedKey() const
{
    if (m_state.operatorLevel == 2)
        return QStringLiteral("USR");
    return nodeOf(m_tree->currentItem()).key;
}

QString TF_Principal::captionLine() const { return m_captionLine->text(); }

int TF_Principal::blockTypeOf(const QString &block) const { return m_types.value(block, 0); }

InstallationTree TF_Principal::vocabularyTree() const
{
    std::function<TextTree(const QTreeWidgetItem *)> take = [&](const QTreeWidgetItem *item) {
        TextTree node(item->text(0));
        for (int i = 0; i < item->childCount(); ++i)
            node.children << take(item->child(i));
        return node;
    };
    const QTreeWidgetItem *root = m_tree->topLevelItem(0);
    TextTree displayed = root ? take(root) : TextTree(m_installation);
    return InstallationTree(InstallationTree::buildVocabulary(displayed, InstallationTree::currentVocabulary()));
}

void TF_Principal::writeTreeFiles()
{
    if (!m_opened)
        return;
    vocabularyTree().write(workFolder(), m_installation);
}

void TF_Principal::selectPath(const QList<int> &path)
{
    QTreeWidgetItem *item = m_tree->topLevelItem(0);
    for (int i : path) {
        if (!item || i < 0 || i >= item->childCount())
            break;
        item = item->child(i);
    }
    if (!item)
        return;
    if (m_tree->currentItem() == item)
        handleSelection();
    else
        m_tree->setCurrentItem(item);
}

bool TF_Principal::dropComponent(QTreeWidgetItem *source, QTreeWidgetItem *target)
{
    const QList<int> from = pathOf(source);
    const QList<int> to = pathOf(target);
    if (!InstWinRules::canMoveComponent(from, to))
        return false;
    QTreeWidgetItem *block = source->parent();
    const bool expanded = source->isExpanded();
    const QSignalBlocker blocker(m_tree);
    block->takeChild(from[1]);
    block->insertChild(block->indexOfChild(target), source);
    source->setExpanded(expanded);
    m_tree->setCurrentItem(source);
    // The new order is kept at once, so that an operation of the store that
    // reads the tree files next cannot bring the old order back.
    try {
        writeTreeFiles();
    } catch (const std::exception &e) {
        Dialogs::instance().warning(QString::fromStdString(e.what()));
    }
    handleSelection();
    return true;
}

// --- selection -----------------------------------------------------------------

void TF_Principal::handleSelection()
{
    if (m_state.operatorLevel == 2 || !m_opened)
        return;
    QTreeWidgetItem *item = m_tree->currentItem();
    if (!item)
        return;
    const InstWinRules::Node node = nodeOf(item);
    InstWinRules::Session session;
    session.open = m_state.cuSessionOpen;
    if (session.open && sessionCu())
        session.cu = sessionCu()();
    std::optional<int> code;
    if (!node.block.isEmpty() && m_codes.contains(node.block))
        code = m_codes.value(node.block);
    m_selection = InstWinRules::select(node, m_installation, InstallationTree::currentVocabulary(), session, code);
    const InstWinRules::Selection &s = m_selection;
    m_captionLine->setText(s.captionLine);
    m_kind = s.listKind;

    m_ruleEnabled[QStringLiteral("B_NEW_COMPONENT")] = s.newComponent;
    m_ruleEnabled[QStringLiteral("B_DELETE_COMPONENT")] = s.deleteComponent;
    m_ruleEnabled[QStringLiteral("B_DELETE_BLOCK")] = s.deleteBlock;
    m_ruleEnabled[QStringLiteral("B_RELES")] = s.relays;
    for (const char *n : {"M_UPD_USERS", "M_UPD_CONFIG", "M_UPD_ALL"})
        m_ruleEnabled[QLatin1String(n)] = s.updateCu;
    for (const char *n : {"B_UPAXO", "M_UPDATE_DATA"})
        m_ruleEnabled[QLatin1String(n)] = s.upAxo;
    m_ruleEnabled[QStringLiteral("M_ITEM")] = s.itemEntryEnabled && s.upAxo;
    m_itemEntry->setText(s.itemEntryText);
    m_actions.value(QStringLiteral("B_FUSER"))->setVisible(s.findUserVisible);
    m_actions.value(QStringLiteral("B_IMEX"))->setVisible(s.importExportVisible);
    m_actions.value(QStringLiteral("B_IE"))->setVisible(s.importExportVisible);
    if (!s.findUserVisible)
        m_findBar->hide();

    if (s.page == InstWinRules::Page::Block)
        fillBlockPage(node.block);
    if (s.page == InstWinRules::Page::List) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            showList(ItemLists::readList(m_kind, workFolder(), m_installation, node.block, blockTypeOf(node.block)));
        } catch (const std::exception &e) {
            QApplication::restoreOverrideCursor();
            m_listView->clear();
            m_objects->setText(T("F_Princ_L_OBJETOS_caption") + QStringLiteral(" 0"));
            updateCommands();
            m_pages->setCurrentWidget(m_pageOf.value(int(s.page)));
            Dialogs::instance().warning(QString::fromStdString(e.what()));
            return;
        }
        QApplication::restoreOverrideCursor();
    }
    m_pages->setCurrentWidget(m_pageOf.value(int(s.page)));
    updateCommands();
}

void TF_Principal::refreshSelection()
{
    if (m_state.operatorLevel == 2)
        handleBlockListSelection();
    else
        handleSelection();
}

void TF_Principal::handleBlockListSelection()
{
    const QListWidgetItem *it = m_blockList->currentItem();
    if (!it)
        return;
    const QString block = it->data(kKeyRole + 1).toString();
    m_captionLine->setText(m_installation + QStringLiteral(" : ") + it->text());
    m_kind = ItemLists::KindUSR;
    InstWinRules::Session session;
    session.open = m_state.cuSessionOpen;
    if (session.open && sessionCu())
        session.cu = sessionCu()();
    const bool up = !session.open || (session.cu && *session.cu == it->data(kKeyRole).toInt());
    m_ruleEnabled[QStringLiteral("B_UPAXO")] = up;
    m_ruleEnabled[QStringLiteral("M_UPDATE_DATA")] = up;
    m_actions.value(QStringLiteral("B_FUSER"))->setVisible(true);
    m_actions.value(QStringLiteral("B_IMEX"))->setVisible(false);
    m_actions.value(QStringLiteral("B_IE"))->setVisible(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        showList(ItemLists::readLevel2Users(workFolder(), m_installation, block, blockTypeOf(block)));
    } catch (const std::exception &e) {
        QApplication::restoreOverrideCursor();
        Dialogs::instance().warning(QString::fromStdString(e.what()));
        return;
    }
    QApplication::restoreOverrideCursor();
    m_pages->setCurrentWidget(m_pageOf.value(int(InstWinRules::Page::List)));
    updateCommands();
}

void TF_Principal::showList(const ItemLists::ItemList &list)
{
    m_list = list;
    const bool level2 = m_state.operatorLevel == 2;
    const bool progress = list.kind == ItemLists::KindUSR && list.rows.size() > 200;
    m_listView->setUpdatesEnabled(false);
    m_listView->clear();
    m_listView->setColumnCount(int(list.columns.size()));
    QStringList captions;
    for (const ItemLists::Column &c : list.columns)
        captions << c.caption;
    m_listView->setHeaderLabels(captions);
    for (int i = 0; i < list.columns.size(); ++i)
        m_listView->setColumnWidth(i, list.columns[i].width);
    if (progress) {
        m_progress->setRange(0, int(list.rows.size()));
        m_progress->setValue(0);
        m_progress->show();
    }
    QList<QTreeWidgetItem *> items;
    items.reserve(list.rows.size());
    const QColor red(0xc6, 0x28, 0x28);
    int n = 0;
    for (const ItemLists::ListRow &row : list.rows) {
        auto *item = new QTreeWidgetItem(row.cells);
        if (row.icon != ItemLists::RowIcon::None)
            item->setIcon(0, rowIcon(row.icon));
        for (int c = 0; c < row.cells.size(); ++c) {
            switch (ItemLists::cellStyle(row.cells[c], list.kind, level2)) {
            case ItemLists::CellStyle::Plain:
                break;
            case ItemLists::CellStyle::Red:
                item->setForeground(c, red);
                break;
            case ItemLists::CellStyle::RedItalic: {
                item->setForeground(c, red);
                QFont f = m_listView->font();
                f.setItalic(true);
                item->setFont(c, f);
                break;
            }
            }
        }
        items << item;
        if (progress && ++n % 250 == 0)
            m_progress->setValue(n);
    }
    m_listView->addTopLevelItems(items);
    // The given widths are the least a column gets: the row icon is added to
    // the first, and a column whose texts are wider grows to show them.
    const bool icons = !list.rows.isEmpty() && list.rows.first().icon != ItemLists::RowIcon::None;
    for (int i = 0; i < list.columns.size(); ++i) {
        const int least = list.columns[i].width + (i == 0 && icons ? 22 : 0);
        m_listView->resizeColumnToContents(i);
        m_listView->setColumnWidth(i, std::max(least, std::min(m_listView->columnWidth(i), 320)));
    }
    m_listView->setUpdatesEnabled(true);
    m_progress->hide();
    m_objects->setText(T("F_Princ_L_OBJETOS_caption") + QLatin1Char(' ') + QString::number(list.count));
}

void TF_Principal::fillBlockPage(const QString &block)
{
    m_blockRecord.clear();
    m_blockName->setText(block);
    m_blockCode->clear();
    m_blockType->setCurrentIndex(2);
    try {
        const InstallationFile axo(workFolder(), m_installation);
        if (const std::optional<BlockRecord> r = axo.blockRecord(block)) {
            m_blockRecord = r->bytes();
            m_blockCode->setText(QStringLiteral("%1").arg(r->code(), 2, 10, QLatin1Char('0')));
            // The stored text may be in another language than the current
            // one; the type it names is shown, the third when it names none.
            const int type = StoreTexts::blockTypeOf(r->text(BlockRecord::TypeText));
            if (type == 1 || type == 2)
                m_blockType->setCurrentIndex(type - 1);
        }
        const bool hasAct = SharedTables::hasComponent(workFolder(), TableFamilies::blockPrefix(m_installation, block),
                                                       QStringLiteral("ACT"));
        m_actions.value(QStringLiteral("B_RESTRICTIONS"))->setVisible(hasAct);
    } catch (const std::exception &e) {
        Dialogs::instance().warning(QString::fromStdString(e.what()));
    }
}

QStringList TF_Principal::selectedRowKey() const
{
    const QTreeWidgetItem *item = m_listView->currentItem();
    if (!item)
        return {};
    return {item->text(0), item->columnCount() > 1 ? item->text(1) : QString()};
}

// --- commands --------------------------------------------------------------

void TF_Principal::runEdit()
{
    if (m_kind == 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    run(QStringLiteral("EDIT_") + ItemLists::keyOfKind(m_kind));
    QApplication::restoreOverrideCursor();
}

void TF_Principal::addComponent()
{
    const InstWinRules::Node node = nodeOf(m_tree->currentItem());
    if (node.level != 1) {
        Dialogs::instance().warning(T("F_Princ_MENSA01"));
        return;
    }
    TF_Componente chooser(TF_Componente::Add, this);
    if (chooser.exec() != QDialog::Accepted || chooser.chosenItem().isEmpty())
        return;
    writeTreeFiles();
    const StoreOutcome outcome =
        InstallationStore::addComponent(workFolder(), m_installation, node.block, chooser.chosenItem());
    if (!outcome) {
        Dialogs::instance().warning(outcome.message);
        return;
    }
    reloadTree();
}

void TF_Principal::deleteComponent()
{
    const InstWinRules::Node node = nodeOf(m_tree->currentItem());
    if (node.level != 1) {
        Dialogs::instance().warning(T("F_Princ_MENSA05"));
        return;
    }
    TF_Componente chooser(TF_Componente::Delete, this);
    if (chooser.exec() != QDialog::Accepted || chooser.chosenItem().isEmpty())
        return;
    writeTreeFiles();
    const StoreOutcome outcome =
        InstallationStore::removeComponent(workFolder(), m_installation, node.block, chooser.chosenItem());
    if (!outcome) {
        Dialogs::instance().warning(outcome.message);
        return;
    }
    reloadTree();
}

void TF_Principal::deleteBlock()
{
    const InstWinRules::Node node = nodeOf(m_tree->currentItem());
    if (node.level != 1 || !deleteQuestion())
        return;
    if (!deleteQuestion()(*this, node.block))
        return;
    writeTreeFiles();
    const StoreOutcome outcome = InstallationStore::deleteBlock(workFolder(), m_installation, node.block);
    if (!outcome) {
        Dialogs::instance().warning(outcome.message);
        return;
    }
    reloadTree();
    selectPath({});
    m_state.putIntoSettings();
    QString error;
    if (!m_state.settings.save(m_state.settings.filePath(), &error))
        Dialogs::instance().warning(error);
}

void TF_Principal::saveBlock()
{
    if (m_blockRecord.size() != BlockRecord::kSize)
        return;
    bool ok = false;
    const int code = m_blockCode->text().trimmed().toInt(&ok);
    if (!ok || code < 0 || code > 63) {
        Dialogs::instance().warning(Lang::text(QStringLiteral("STORE_CODE_RANGE")));
        return;
    }
    const BlockRecord current = BlockRecord::fromBytes(m_blockRecord);
    BlockRecord rebuilt = current;
    rebuilt.setText(BlockRecord::TypeText, m_blockType->currentText());
    rebuilt.setCode(code);
    const StoreOutcome outcome = InstallationStore::saveBlockValues(workFolder(), m_installation, current, rebuilt);
    if (!outcome) {
        Dialogs::instance().warning(outcome.message);
        return;
    }
    reloadTree();
}

void TF_Principal::copyInstallation()
{
    const QString target = Dialogs::instance().saveFile(T("F_Princ_B_COPY_INST_caption").remove(QLatin1Char('&')),
                                                        workFolder(), QStringLiteral("AXO Install Files|*.axo"));
    if (target.isEmpty())
        return;
    if (QFileInfo::exists(target)) {
        Dialogs::instance().warning(T("F_Princ_MENSA07"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    writeTreeFiles();
    const StoreOutcome outcome = InstallationStore::copyInstallation(workFolder(), m_installation, target);
    QApplication::restoreOverrideCursor();
    if (!outcome)
        Dialogs::instance().warning(outcome.message);
}

void TF_Principal::goToRestrictions()
{
    QTreeWidgetItem *block = blockItemOf(m_tree->currentItem());
    if (!block)
        return;
    std::function<QTreeWidgetItem *(QTreeWidgetItem *)> find = [&](QTreeWidgetItem *item) -> QTreeWidgetItem * {
        for (int i = 0; i < item->childCount(); ++i) {
            QTreeWidgetItem *c = item->child(i);
            if (c->data(0, kKeyRole).toString() == QLatin1String("PRO"))
                return c;
            if (QTreeWidgetItem *f = find(c))
                return f;
        }
        return nullptr;
    };
    if (QTreeWidgetItem *pro = find(block)) {
        m_tree->setCurrentItem(pro);
        if (registry().contains(QStringLiteral("EDIT_PRO")))
            runEdit();
    }
}

void TF_Principal::usersManagement()
{
    // Only blocks with access control have users to manage.
    bool any = false;
    for (auto it = m_codes.cbegin(); it != m_codes.cend() && !any; ++it) {
        try {
            any = SharedTables::hasComponent(workFolder(), TableFamilies::blockPrefix(m_installation, it.key()),
                                             QStringLiteral("ACT"));
        } catch (const std::exception &) {
        }
    }
    if (!any) {
        Dialogs::instance().warning(T("F_Princ_MENSA06"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    run(QStringLiteral("USERS_MANAGEMENT"));
    QApplication::restoreOverrideCursor();
}

void TF_Principal::controlPanel()
{
    if (m_state.cuSessionOpen) {
        Dialogs::instance().messageWindow(T("F_Princ_MAINT00"), T("F_Princ_MAINT01"));
        return;
    }
    run(QStringLiteral("CONTROL_PANEL"));
}

void TF_Principal::findInList(bool down)
{
    const QString text = m_findText->text();
    const int count = m_listView->topLevelItemCount();
    if (text.isEmpty() || count == 0)
        return;
    const QTreeWidgetItem *current = m_listView->currentItem();
    int start = current ? m_listView->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(current)) : -1;
    for (int i = start + (down ? 1 : -1); down ? i < count : i >= 0; i += down ? 1 : -1) {
        QTreeWidgetItem *item = m_listView->topLevelItem(i);
        if (item->text(0).contains(text, Qt::CaseInsensitive) ||
            (item->columnCount() > 1 && item->text(1).contains(text, Qt::CaseInsensitive))) {
            m_listView->setCurrentItem(item);
            m_listView->scrollToItem(item);
            return;
        }
    }
    QApplication::beep();
}

void TF_Principal::treeMenu(const QPoint &pos)
{
    if (QTreeWidgetItem *item = m_tree->itemAt(pos))
        m_tree->setCurrentItem(item);
    QMenu *menu = m_selection.blockMenu ? m_blockMenu : m_itemMenu;
    menu->popup(m_tree->viewport()->mapToGlobal(pos));
}

void TF_Principal::listMenu(const QPoint &pos)
{
    m_listMenu->popup(m_listView->viewport()->mapToGlobal(pos));
}

// --- closing ---------------------------------------------------------------

void TF_Principal::closeEvent(QCloseEvent *event)
{
    try {
        if (m_state.cuSessionOpen)
            run(QStringLiteral("END_CU_SESSION"));
        if (m_state.registeringActive) {
            Dialogs::instance().messageWindow(T("F_INCID_ENA00"), T("F_INCID_ENA01"));
            event->ignore();
            return;
        }
        BlockFlags::clearAll();
        if (m_state.modemCallActive)
            run(QStringLiteral("HANG_UP_MODEM"));
        writeTreeFiles();
    } catch (const std::exception &e) {
        Dialogs::instance().warning(QString::fromStdString(e.what()));
    }
    event->accept();
}
