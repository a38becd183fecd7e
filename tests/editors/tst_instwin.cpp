// The installation window: what its lists show, how it is opened from the
// main window, which commands a selection allows, dragging components and
// the level 2 operator's block list. Windows are driven by object name over
// installations built with the store's own operations.
#include "app/Main.h"
#include "app/Program.h"
#include "editors/InstWinRules.h"
#include "editors/ItemLists.h"
#include "editors/ui/F_Princ.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "store/InstallationStore.h"
#include "store/engine/Table.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace ItemLists;

namespace {

// "FIELD=value;FIELD=value": true/false become booleans, other values texts.
Row rowOf(const QString &fields)
{
    Row row;
    for (const QString &pair : fields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString field = pair.section(QLatin1Char('='), 0, 0).toUpper();
        const QString value = pair.section(QLatin1Char('='), 1);
        if (value == QLatin1String("true") || value == QLatin1String("false"))
            row.insert(field, value == QLatin1String("true"));
        else
            row.insert(field, value);
    }
    return row;
}

QList<Row> rowsOf(const QStringList &lines)
{
    QList<Row> rows;
    for (const QString &s : lines)
        rows << rowOf(s);
    return rows;
}

const char *kInst = "Tower";

// Flags by ORDEN: ACC, APT, ACT, LCT, SCH, GUD, IND, ALA.
Components::Flags allComponents() { return {true, true, true, true, true, true, true, true}; }

} // namespace

class TstInstWin : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolders> m_folders;
    std::unique_ptr<ScriptedDialogs> m_dialogs;

    // Tower in `folder`: North (code 5, every component) and South (code 7,
    // accesses and apartments).
    static QString makeInstallation(const QString &folder)
    {
        QDir().mkpath(folder);
        const QString inst = QLatin1String(kInst);
        if (!InstallationStore::createInstallation(folder, inst, InstallationStore::Connection::Local, QString(),
                                                   QStringLiteral("COM3")))
            return QString();
        InstallationStore::NewBlock north{QStringLiteral("North"), 5, 1, allComponents()};
        InstallationStore::NewBlock south{QStringLiteral("South"), 7, 2, {true, true, false, false, false, false, false, false}};
        if (!InstallationStore::addBlock(folder, inst, north) || !InstallationStore::addBlock(folder, inst, south))
            return QString();
        return folder + inst + QStringLiteral(".axo");
    }

    static void addUser(const QString &folder, const QString &block, const QString &number, const QString &name,
                        const QVariant &profile)
    {
        Table users(folder, QStringLiteral("Tower_%1_Users.db").arg(block));
        users.open();
        users.append();
        users.setText(QStringLiteral("N_USUARIO"), number);
        users.setText(QStringLiteral("NOMBRE"), name);
        users.setValue(QStringLiteral("PERFIL"), profile);
        users.setBoolean(QStringLiteral("ES_USR"), true);
        users.post();
    }

    // Opens `path` through the main window's "Open Installation" command.
    static TF_Principal *openThroughMainForm(TMainForm &form, ScriptedDialogs &dialogs, const QString &path)
    {
        Program::attachInstallationWindow(form);
        dialogs.queueChoice(path);
        QAction *open = form.command(QStringLiteral("FileOpenItem"));
        if (!open || !open->isEnabled())
            return nullptr;
        open->trigger();
        const QList<QMdiSubWindow *> subs = form.mdiArea()->subWindowList();
        return subs.isEmpty() ? nullptr : qobject_cast<TF_Principal *>(subs.last()->widget());
    }

    static QTreeWidgetItem *node(TF_Principal *w, const QList<int> &path)
    {
        QTreeWidgetItem *item = w->tree()->topLevelItem(0);
        for (int i : path)
            item = item->child(i);
        return item;
    }

    static QTreeWidgetItem *childByKey(QTreeWidgetItem *parent, const QString &key)
    {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == Lang::word(key))
                return parent->child(i);
        return nullptr;
    }

private slots:
    void init()
    {
        m_folders = std::make_unique<TestFolders>();
        QVERIFY2(m_folders->isValid(), qPrintable(m_folders->error()));
        QVERIFY(Lang::open(Lang::filePath(), QStringLiteral("ENGLISH")));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        for (const char *name : {"SEND", "EDIT_USR"})
            TF_Principal::unregisterCommand(QLatin1String(name));
        TF_Principal::setSessionCu({});
    }
    void cleanup()
    {
        m_dialogs.reset();
        m_folders.reset();
    }

    // The rows, the count and one cell of each list kind.
    void lists_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("profiles");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("cell");

        const QStringList none;
        QTest::newRow("guard unit without code: not shown, counted")
            << int(KindGUA) << QStringList{"CODIGO=01;DESCRIPCION=Gate", "DESCRIPCION=Lost"} << none << 1 << 2 << 0 << 1 << "Gate";
        QTest::newRow("indoor panel without code")
            << int(KindIND) << QStringList{"DESCRIPCION=Hall", "CODIGO=123;DESCRIPCION=Lobby"} << none << 1 << 2 << 0 << 0 << "123";
        QTest::newRow("timetable with a short first interval")
            << int(KindTIM) << QStringList{"NUMERO=1;NOMBRE=Day;HORA_INI1=0800;HORA_FIN1=130;HORA_INI2=1500;HORA_FIN2=1900"}
            << none << 1 << 1 << 0 << 2 << "";
        QTest::newRow("timetable second interval")
            << int(KindTIM) << QStringList{"NUMERO=1;NOMBRE=Day;HORA_INI2=1500;HORA_FIN2=1900", "NUMERO=2"}
            << none << 1 << 1 << 0 << 3 << "15:00--19:00";
        QTest::newRow("user whose profile does not exist")
            << int(KindUSR) << QStringList{"N_USUARIO=1;NOMBRE=Ann;PERFIL=9", "N_USUARIO=2;NOMBRE=Bob;PERFIL=1"}
            << QStringList{"NUMERO_PERFIL=1;DESCRIPCION=Staff"} << 2 << 2 << 0 << 4 << "";
        QTest::newRow("user with a profile")
            << int(KindUSR) << QStringList{"N_USUARIO=1;NOMBRE=Ann;PERFIL=9", "N_USUARIO=2;NOMBRE=Bob;PERFIL=1"}
            << QStringList{"NUMERO_PERFIL=1;DESCRIPCION=Staff"} << 2 << 2 << 1 << 4 << "Staff";
        QTest::newRow("user without a profile")
            << int(KindUSR) << QStringList{"N_USUARIO=1;NOMBRE=Ann"} << QStringList{"NUMERO_PERFIL=0;DESCRIPCION=Zero"}
            << 1 << 1 << 0 << 4 << "";
        QTest::newRow("system profile number")
            << int(KindPRO) << QStringList{"NUMERO_PERFIL=126;DESCRIPCION=Superusers", "NUMERO_PERFIL=3"} << none << 1 << 1
            << 0 << 0 << "System";
        QTest::newRow("system profile areas")
            << int(KindPRO) << QStringList{"NUMERO_PERFIL=120;DESCRIPCION=Reset"} << none << 1 << 1 << 0 << 3 << " --";
        QTest::newRow("ordinary profile areas")
            << int(KindPRO) << QStringList{"NUMERO_PERFIL=4;DESCRIPCION=Staff;P2GZ=2"} << none << 1 << 1 << 0 << 3 << "OK";
        QTest::newRow("ordinary profile empty area")
            << int(KindPRO) << QStringList{"NUMERO_PERFIL=4;DESCRIPCION=Staff;P2GZ=2"} << none << 1 << 1 << 0 << 2 << "X";
        QTest::newRow("area zones")
            << int(KindARE) << QStringList{"NUMERO=1;DESCRIPCION=Hall;Z0=true;Z3=true;Z17=true;Z4=false", "NUMERO=2"}
            << none << 1 << 1 << 0 << 2 << "Z0Z3Z17";
        QTest::newRow("scheduler time")
            << int(KindSCH) << QStringList{"NUMERO=1;START=0730;END=73"} << none << 1 << 1 << 0 << 4 << "07:30";
        QTest::newRow("scheduler short time as stored")
            << int(KindSCH) << QStringList{"NUMERO=1;START=0730;END=73"} << none << 1 << 1 << 0 << 5 << "73";
        QTest::newRow("holiday period date")
            << int(KindPER) << QStringList{"DESCRIPCION=Xmas;START=2412;END=0601"} << none << 1 << 1 << 0 << 2 << "06/01";
        QTest::newRow("individual day")
            << int(KindIVD) << QStringList{"DESCRIPCION=May;DIA=0105"} << none << 1 << 1 << 0 << 1 << "01/05";
        QTest::newRow("apartments are users with ES_USR")
            << int(KindAPA) << QStringList{"NOMBRE=1A;ES_USR=true", "NOMBRE=1B;ES_USR=false", "NOMBRE=1C"} << none << 1 << 1
            << 0 << 0 << "1A";
        QTest::newRow("zones with a description")
            << int(KindZON) << QStringList{"N_ZONA=0;DESCRIPCION=Garden", "N_ZONA=1", "N_ZONA=2"} << none << 1 << 1 << 0 << 1
            << "Garden";
        QTest::newRow("sensor time unit")
            << int(KindSEN) << QStringList{"GRUPO=0;MINUTOS=true", "GRUPO=1"} << none << 2 << 2 << 0 << 4 << "Minutes";
        QTest::newRow("lift times empty: no row, counted")
            << int(KindLTM) << QStringList{"T_USER=;T_VISITOR="} << none << 0 << 1 << -1 << 0 << "";
        QTest::newRow("lift times") << int(KindLTM) << QStringList{"T_USER=0;T_VISITOR=5"} << none << 1 << 1 << 0 << 1 << "5";
        QTest::newRow("licence floors")
            << int(KindLIC) << QStringList{"NUMERO=0;DESCRIPCION=Top;PL_NR5=09"} << none << 1 << 1 << 0 << 6 << "09";
    }
    void lists()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, profiles);
        QFETCH(int, shown);
        QFETCH(int, count);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, cell);
        Input in;
        in.kind = kind;
        in.rows = rowsOf(rows);
        in.profiles = rowsOf(profiles);
        const ItemList list = build(in);
        QCOMPARE(list.rows.size(), shown);
        QCOMPARE(list.count, count);
        for (const ListRow &r : list.rows)
            QCOMPARE(r.cells.size(), list.columns.size());
        if (row >= 0)
            QCOMPARE(list.rows[row].cells[column], cell);
    }

    void cellStyles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("level2");
        QTest::addColumn<int>("style");
        QTest::newRow("System in profiles") << "System" << int(KindPRO) << false << int(CellStyle::Red);
        QTest::newRow("System in accesses") << "System" << int(KindACC) << false << int(CellStyle::Plain);
        QTest::newRow("System for level 2") << "System" << int(KindACC) << true << int(CellStyle::Red);
        QTest::newRow("system profile name in users") << "Superusers" << int(KindUSR) << false << int(CellStyle::Red);
        QTest::newRow("not accepted") << "NO" << int(KindZON) << false << int(CellStyle::RedItalic);
        QTest::newRow("plain") << "Hall" << int(KindUSR) << false << int(CellStyle::Plain);
    }
    void cellStyles()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(bool, level2);
        QFETCH(int, style);
        QCOMPARE(int(cellStyle(text, kind, level2)), style);
    }

    // Opening an installation from another folder makes that folder the work
    // folder and records it, the installation's port and the last installation.
    void openFromOtherFolder()
    {
        const QString other = m_folders->root() + QStringLiteral("elsewhere/");
        const QString path = makeInstallation(other);
        QVERIFY(!path.isEmpty());
        ProgramState state;
        TMainForm form(state);
        TF_Principal *w = openThroughMainForm(form, *m_dialogs, path);
        QVERIFY(w);
        QCOMPARE(state.workFolder, other);
        QCOMPARE(state.installationName, QStringLiteral("Tower"));
        QCOMPARE(w->blockCount(), QStringLiteral("2"));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("L_NUM_BLOQUES"))->text(), QStringLiteral("Number of Blocks : 2"));
        QCOMPARE(w->tree()->topLevelItem(0)->text(0), QStringLiteral("Tower"));
        QCOMPARE(w->tree()->topLevelItem(0)->childCount(), 2);
        QCOMPARE(w->captionLine(), QStringLiteral("Installation : Tower"));
        QVERIFY(!w->findChild<QStackedWidget *>(QStringLiteral("Pages"))->currentWidget()->objectName().isEmpty());
        ProfileFile settings(Paths::configDir() + QStringLiteral("VELTRONA.INI"));
        QCOMPARE(settings.readString(QStringLiteral("General"), QStringLiteral("Senda")), other);
        QCOMPARE(settings.readString(QStringLiteral("General"), QStringLiteral("Ultima_inst")), path);
        QCOMPARE(settings.readString(QStringLiteral("General"), QStringLiteral("Sys_Port")), QStringLiteral("COM3"));
    }

    // The pages of grouping nodes and the users list of a block.
    void selection()
    {
        const QString path = makeInstallation(m_folders->workDir());
        addUser(m_folders->workDir(), QStringLiteral("North"), QStringLiteral("1"), QStringLiteral("Ann"), 9);
        addUser(m_folders->workDir(), QStringLiteral("North"), QStringLiteral("2"), QStringLiteral("Bob"), 126);
        ProgramState state;
        TMainForm form(state);
        TF_Principal *w = openThroughMainForm(form, *m_dialogs, path);
        QVERIFY(w);
        auto *pages = w->findChild<QStackedWidget *>(QStringLiteral("Pages"));
        QTreeWidgetItem *north = node(w, {0});
        w->tree()->setCurrentItem(north);
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("PANEL_BLOQUES"));
        QCOMPARE(w->captionLine(), QStringLiteral("Block : Tower \\ North"));
        QVERIFY(w->command(QStringLiteral("B_NEW_COMPONENT"))->isEnabled());
        QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("E_CODIGO"))->text(), QStringLiteral("05"));

        QTreeWidgetItem *act = childByKey(north, QStringLiteral("ACT"));
        QVERIFY(act);
        w->tree()->setCurrentItem(act);
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("Panel_C_ACCESOS"));
        QVERIFY(!w->command(QStringLiteral("B_NEW_COMPONENT"))->isEnabled());

        w->tree()->setCurrentItem(childByKey(act, QStringLiteral("USR")));
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("PANEL_LISTA"));
        auto *list = w->findChild<QTreeWidget *>(QStringLiteral("Lista_Principal"));
        QCOMPARE(list->columnCount(), 7);
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(4), QString());           // profile 9 does not exist
        QCOMPARE(list->topLevelItem(1)->text(4), QStringLiteral("Superusers"));
        QCOMPARE(list->topLevelItem(1)->foreground(4).color(), QColor(0xc6, 0x28, 0x28));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("L_OBJETOS"))->text(), QStringLiteral("Objects : 2"));
        QVERIFY(w->command(QStringLiteral("B_FUSER"))->isVisible());
        // No users editor yet: "Edit" is there but says so.
        QVERIFY(!w->command(QStringLiteral("B_EDIT"))->isEnabled());
        QCOMPARE(w->command(QStringLiteral("B_EDIT"))->toolTip(), Lang::text(QStringLiteral("MainForm_NotAvailable")));
    }

    // With a session open on North, data of South cannot be sent.
    void upAxoDuringSession()
    {
        const QString path = makeInstallation(m_folders->workDir());
        ProgramState state;
        TMainForm form(state);
        TF_Principal *w = openThroughMainForm(form, *m_dialogs, path);
        QVERIFY(w);
        QAction *up = w->command(QStringLiteral("B_UPAXO"));
        QTreeWidgetItem *northAcc = childByKey(node(w, {0}), QStringLiteral("ACC"));
        QTreeWidgetItem *southAcc = childByKey(node(w, {1}), QStringLiteral("ACC"));
        w->tree()->setCurrentItem(northAcc);
        QVERIFY(!up->isEnabled());   // no send wizard attached
        int sent = 0;
        QString sentKey, sentBlock;
        TF_Principal::registerCommand(QStringLiteral("SEND"), [&](TF_Principal &win) {
            ++sent;
            sentKey = win.sendKey();
            sentBlock = win.selectedBlock();
        });
        w->refreshSelection();
        QVERIFY(up->isEnabled());
        state.cuSessionOpen = true;
        TF_Principal::setSessionCu([] { return std::optional<int>(5); });
        w->tree()->setCurrentItem(southAcc);
        QVERIFY(!up->isEnabled());
        w->tree()->setCurrentItem(northAcc);
        QVERIFY(up->isEnabled());
        up->trigger();
        QCOMPARE(sent, 1);
        QCOMPARE(sentKey, QStringLiteral("ACC"));
        QCOMPARE(sentBlock, QStringLiteral("North"));
        w->tree()->setCurrentItem(node(w, {}));
        QVERIFY(!up->isEnabled());
        state.cuSessionOpen = false;
    }

    // A component dropped on another component of its block moves before it;
    // any other drop changes nothing.
    void dragComponent_data()
    {
        QTest::addColumn<QList<int>>("target");
        QTest::addColumn<QStringList>("northOrder");
        const QStringList unchanged = {"ACC", "APA", "GUA", "IND", "SEN", "SCH", "LFT", "ACT"};
        QTest::newRow("onto a component of the same block")
            << QList<int>{0, 0} << QStringList{"SCH", "ACC", "APA", "GUA", "IND", "SEN", "LFT", "ACT"};
        QTest::newRow("onto a later component") << QList<int>{0, 7}
                                                << QStringList{"ACC", "APA", "GUA", "IND", "SEN", "LFT", "SCH", "ACT"};
        QTest::newRow("onto another block's component") << QList<int>{1, 0} << unchanged;
        QTest::newRow("onto the block itself") << QList<int>{0} << unchanged;
        QTest::newRow("onto a sub-item") << QList<int>{0, 7, 0} << unchanged;
    }
    void dragComponent()
    {
        QFETCH(QList<int>, target);
        QFETCH(QStringList, northOrder);
        const QString path = makeInstallation(m_folders->workDir());
        ProgramState state;
        TMainForm form(state);
        TF_Principal *w = openThroughMainForm(form, *m_dialogs, path);
        QVERIFY(w);
        form.setAutoFirstShowing(false);
        form.resize(1280, 1000);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTreeWidget *tree = w->tree();
        tree->expandAll();
        QTreeWidgetItem *source = node(w, {0, 5}); // SCH of North
        QCOMPARE(source->text(0), Lang::word(QStringLiteral("SCH")));
        tree->setCurrentItem(source);
        QTreeWidgetItem *to = node(w, target);
        tree->scrollToItem(to);
        const QPoint at = tree->visualItemRect(to).center();
        std::unique_ptr<QMimeData> mime(tree->model()->mimeData({tree->currentIndex()}));
        QDropEvent drop(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QDragEnterEvent enter(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &move);
        QCoreApplication::sendEvent(tree->viewport(), &drop);

        QStringList shown;
        for (int i = 0; i < node(w, {0})->childCount(); ++i)
            shown << Lang::keyOfWord(node(w, {0, i})->text(0), Lang::vocabulary());
        QCOMPARE(shown, northOrder);
        QCOMPARE(node(w, {1})->childCount(), 2);
        // The tree files hold the order shown.
        const InstallationTree saved = InstallationTree::read(m_folders->workDir(), QLatin1String(kInst));
        QStringList stored;
        for (const TreeNode &c : saved.root().children[0].children)
            stored << c.caption;
        QCOMPARE(stored, northOrder);
    }

    // A level 2 operator sees the block list and the users of the chosen block.
    void level2BlockList()
    {
        const QString path = makeInstallation(m_folders->workDir());
        addUser(m_folders->workDir(), QStringLiteral("South"), QStringLiteral("7"), QStringLiteral("Eve"), 126);
        ProgramState state;
        state.operatorLevel = 2;
        TMainForm form(state);
        TF_Principal *w = openThroughMainForm(form, *m_dialogs, path);
        QVERIFY(w);
        auto *blocks = w->findChild<QListWidget *>(QStringLiteral("Arbol2"));
        QVERIFY(!w->tree()->isVisibleTo(w));
        QVERIFY(blocks->isVisibleTo(w));
        QVERIFY(!w->findChild<QWidget *>(QStringLiteral("TB_BLOCK"))->isVisibleTo(w));
        QVERIFY(!w->command(QStringLiteral("B_CONTROL_PANEL"))->isVisible());
        QCOMPARE(blocks->count(), 2);
        QCOMPARE(blocks->item(0)->text(), QStringLiteral("05 North"));
        QCOMPARE(blocks->item(1)->text(), QStringLiteral("07 South"));
        blocks->setCurrentRow(1);
        QCOMPARE(w->captionLine(), QStringLiteral("Tower : 07 South"));
        auto *list = w->findChild<QTreeWidget *>(QStringLiteral("Lista_Principal"));
        QCOMPARE(list->columnCount(), 6);
        QCOMPARE(list->headerItem()->text(5), QStringLiteral("PIN"));   // South is of type 2
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("Eve"));
        QCOMPARE(list->topLevelItem(0)->foreground(4).color(), QColor(0xc6, 0x28, 0x28));
        blocks->setCurrentRow(0);
        QCOMPARE(list->topLevelItemCount(), 0);
    }

    // Adding a component through the chooser, and refusing one already there.
    void newComponent()
    {
        const QString path = makeInstallation(m_folders->workDir());
        ProgramState state;
        TMainForm form(state);
        TF_Principal *w = openThroughMainForm(form, *m_dialogs, path);
        QVERIFY(w);
        QTreeWidgetItem *south = node(w, {1});
        w->tree()->setCurrentItem(south);
        for (const char *item : {"GUD", "ACC"}) {
            QTimer::singleShot(0, [item] {
                auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                QVERIFY(d);
                auto *list = d->findChild<QListWidget *>(QStringLiteral("LB_COMP"));
                for (int i = 0; i < list->count(); ++i)
                    if (list->item(i)->data(Qt::UserRole).toString() == QLatin1String(item))
                        list->setCurrentRow(i);
                d->accept();
            });
            w->command(QStringLiteral("B_NEW_COMPONENT"))->trigger();
        }
        south = node(w, {1});
        QCOMPARE(south->childCount(), 3);
        QCOMPARE(south->child(2)->text(0), Lang::word(QStringLiteral("GUA")));
        QCOMPARE(m_dialogs->count(QStringLiteral("warning")), 1);
        QCOMPARE(m_dialogs->calls().last().text, Lang::text(QStringLiteral("F_Princ_MENSA00")));
    }
};

QTEST_MAIN(TstInstWin)
#include "tst_instwin.moc"
