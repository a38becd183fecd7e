#pragma once

#include "editors/InstWinRules.h"
#include "editors/ItemLists.h"
#include "store/InstallationTree.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
struct ProgramState;

// The installation window: one open installation. Left, the installation
// tree (`Arbol`) or, for a level 2 operator, the block list (`Arbol2`);
// right, the page of the selected node: the installation page
// (`PANEL_INSTAL`), the block page (`PANEL_BLOQUES`), the item list
// (`Lista_Principal`) or an information panel. Two toolbars ("Block actions"
// `TB_BLOCK`, "Features" `TB_FEATURES`), the list toolbar and three pop-up
// menus carry the commands.
//
// Windows of other parts attach to the window by command name through
// registerCommand(); a command without its window is shown disabled with
// the "not available yet" hint. Names and what the handler is expected to do:
//   NEW_BLOCK            run the new-block wizard (the window reloads its tree after)
//   LOAD_BLOCK           load blocks from another installation (tree reloaded after)
//   BLOCKS_SUMMARY       show the blocks summary
//   RELAYS               relay window for selectedBlock()
//   MODEM_ON             modem call window
//   USERS_MANAGEMENT     users management window (called only when a block has access control)
//   FIND_USER            find-user window ("Inst.User")
//   TEST_INSTALLATION    installation test window
//   AUTO_TEST            the central unit test run when an installation is opened or a block added
//   INCIDENCES           incidence registering window
//   EXPORT               spreadsheet export dialog
//   CONTROL_PANEL        control panel (called only with no central unit session open)
//   NEW_USER             new-user window
//   SEND                 send wizard for sendKey() of the selected node and selectedBlock()
//   SEND_USERS, SEND_CONFIG, SEND_ALL   "Update CU" entries for selectedBlock()
//   EDIT_<key>           editor of a list kind (EDIT_ACC, EDIT_USR, ...): selectedRowKey() positions it
//   IMPORT_EXPORT_XLS, IMPORT_EXPORT_FILES   users import/export of selectedBlock()
//   TRADES               trades window for selectedBlock()
//   END_CU_SESSION, HANG_UP_MODEM   link work run when the window closes
// The delete-block confirmation is a question: setDeleteBlockQuestion().
class TF_Principal : public QWidget {
    Q_OBJECT
public:
    using Handler = std::function<void(TF_Principal &)>;
    using BlockQuestion = std::function<bool(TF_Principal &, const QString &block)>;
    using SessionCu = std::function<std::optional<int>()>;

    static void registerCommand(const QString &name, Handler handler);
    static void unregisterCommand(const QString &name);
    static bool hasCommand(const QString &name);
    static void setDeleteBlockQuestion(BlockQuestion question);
    // The CU code of the open central unit session (when one is open).
    static void setSessionCu(SessionCu provider);

    explicit TF_Principal(ProgramState &state, QWidget *parent = nullptr);
    ~TF_Principal() override;

    // The opening steps after the window exists: tree, profiles relabelled,
    // block count, port and connection type, auto test, icons, level 2 block
    // list. False with a message shown when the installation cannot be read.
    bool openInstallation(const QString &path);

    ProgramState &state() { return m_state; }
    QString installationName() const { return m_installation; }
    QString workFolder() const;
    QString blockCount() const { return m_blockCount; }
    // The vocabulary tree built from the displayed tree.
    InstallationTree vocabularyTree() const;

    // The selected node's block (empty for the root), its CU code, its
    // vocabulary key and list kind; the caption line.
    QString selectedBlock() const;
    std::optional<int> selectedBlockCode() const;
    QString selectedKey() const;
    int currentKind() const { return m_kind; }
    QString captionLine() const;
    // The send kind of "Up. AXO": the vocabulary key of the selected node.
    QString sendKey() const { return selectedKey(); }
    // The selected list row's first two cells (the editors' positioning keys).
    QStringList selectedRowKey() const;
    const ItemLists::ItemList &shownList() const { return m_list; }

    QAction *command(const QString &name) const { return m_actions.value(name); }
    QTreeWidget *tree() const { return m_tree; }

    // Selects the node at `path` (child indexes from the root); {} = root.
    void selectPath(const QList<int> &path);
    // Re-runs the selection handling ("Refresh list").
    void refreshSelection();
    // Reads the tree files again (after another window changed blocks).
    void reloadTree();
    // Installation, block icons and the modem button.
    void refreshIcons();
    // Writes both tree files from the displayed tree.
    void writeTreeFiles();
    // Moves a component node before another; false when the rule refuses.
    bool dropComponent(QTreeWidgetItem *source, QTreeWidgetItem *target);
    // The window's activation work (icons, call indicator, selection).
    void activated();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWidgets();
    QWidget *buildInstallationPage();
    QWidget *buildBlockPage();
    QWidget *buildListPage();
    QWidget *buildInfoPage(const QString &name, int firstLine, int lines, QWidget *extra = nullptr);
    void buildCommands();
    void buildMenus();
    void applyTexts();
    void applyLevel();
    QAction *makeAction(const QString &name, const QString &icon, std::function<void()> work,
                        const QString &handler = QString());
    void updateCommands();
    void fillTree(const InstallationTree &tree);
    QTreeWidgetItem *makeNode(const TextTree &node, int level);
    void fillBlockList();
    void handleSelection();
    void handleBlockListSelection();
    void showList(const ItemLists::ItemList &list);
    void fillBlockPage(const QString &block);
    InstWinRules::Node nodeOf(const QTreeWidgetItem *item) const;
    QList<int> pathOf(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *blockItemOf(QTreeWidgetItem *item) const;
    int blockTypeOf(const QString &block) const;
    void run(const QString &handler);
    void runEdit();
    void addComponent();
    void deleteComponent();
    void deleteBlock();
    void saveBlock();
    void copyInstallation();
    void goToRestrictions();
    void usersManagement();
    void controlPanel();
    void findInList(bool down);
    void afterBlocksChanged();
    void treeMenu(const QPoint &pos);
    void listMenu(const QPoint &pos);

    ProgramState &m_state;
    QString m_installation;
    QString m_blockCount = QStringLiteral("0");
    int m_kind = 0;
    bool m_opened = false;
    ItemLists::ItemList m_list;
    InstWinRules::Selection m_selection;

    QHash<QString, QAction *> m_actions;
    QHash<QString, QString> m_handlerOf;   // action name → handler name
    QHash<QString, bool> m_ruleEnabled;    // action name → enabled by the selection rules
    QHash<QString, QString> m_aliasOf;     // page command → the toolbar command it stands for

    QToolBar *m_blockBar = nullptr;
    QToolBar *m_featureBar = nullptr;
    QToolBar *m_listBar = nullptr;
    QTreeWidget *m_tree = nullptr;
    QListWidget *m_blockList = nullptr;
    QLabel *m_captionLine = nullptr;
    QLabel *m_modemCall = nullptr;
    QStackedWidget *m_pages = nullptr;
    QHash<int, QWidget *> m_pageOf;
    QTreeWidget *m_listView = nullptr;
    QLabel *m_objects = nullptr;
    QProgressBar *m_progress = nullptr;
    QWidget *m_findBar = nullptr;
    QLineEdit *m_findText = nullptr;
    QLabel *m_blocksLabel = nullptr;
    QLabel *m_installLabel = nullptr;
    QLineEdit *m_blockName = nullptr;
    QComboBox *m_blockType = nullptr;
    QLineEdit *m_blockCode = nullptr;
    QWidget *m_restrictions = nullptr;
    QMenu *m_blockMenu = nullptr;
    QMenu *m_itemMenu = nullptr;
    QMenu *m_listMenu = nullptr;
    QAction *m_itemEntry = nullptr;
    QByteArray m_blockRecord;   // the block record shown on the block page
    QHash<QString, int> m_codes;  // block name → CU code, from the installation file
    QHash<QString, int> m_types;  // block name → type 1..3 (0 none)
};
