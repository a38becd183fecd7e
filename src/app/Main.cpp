#include "app/Main.h"

#include "app/About.h"
#include "app/F_Lang.h"
#include "app/F_Login.h"
#include "app/F_Pass3.h"
#include "app/F_Password1.h"
#include "app/F_Sel_Ini.h"
#include "app/F_System.h"
#include "app/F_Valores_Generales.h"
#include "app/F_direc.h"
#include "app/F_password2.h"
#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/Operators.h"
#include "frame/ProgramState.h"
#include "frame/SessionLog.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "store/engine/EngineError.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <exception>

namespace {
QString T(const char *key) { return Lang::text(QLatin1String(key)); }
QString M(const char *key) { return Lang::message(QLatin1String(key)); }
} // namespace

TMainForm::TMainForm(ProgramState &state, QWidget *parent) : QMainWindow(parent), m_state(state)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowIcon(Icons::icon(QStringLiteral("veltrona")));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("ClientArea"));
    m_mdi->setBackground(QColor(0x5a, 0x6e, 0x84));
    setCentralWidget(m_mdi);

    readSettingsAndTexts();
    buildCommands();
    buildMenus();
    buildToolbar();
    createForms();
    resize(1100, 720);
}

TMainForm::~TMainForm() = default;

void TMainForm::readSettingsAndTexts()
{
    // A missing settings file gives the defaults; a value that is not a
    // number keeps its default and is reported (the ports fall back to COM1).
    m_state.settings.load();
    m_state.takeFromSettings();
    for (const QString &w : m_state.settings.warnings())
        m_problems << w;
    QString error;
    if (!Lang::open(Lang::filePath(), m_state.settings.idioma, &error)) {
        m_problems << error;
        m_createdCompletely = false;
    }
    if (!m_state.settings.warnings().isEmpty())
        m_createdCompletely = false;
    m_caption = T("MainForm_Caption");
    setWindowTitle(m_caption);
}

QAction *TMainForm::makeCommand(const QString &name, const QString &text, const QString &icon)
{
    auto *a = new QAction(text, this);
    a->setObjectName(name);
    if (!icon.isEmpty())
        a->setIcon(Icons::icon(icon));
    m_commands.insert(name, a);
    return a;
}

void TMainForm::setUnavailable(QAction *action)
{
    // The hint the command shows once it is available again.
    action->setProperty("availableHint", action->toolTip());
    action->setEnabled(false);
    action->setToolTip(T("MainForm_NotAvailable"));
    action->setStatusTip(T("MainForm_NotAvailable"));
}

void TMainForm::setCommand(const QString &name, std::function<void()> work)
{
    QAction *a = m_commands.value(name);
    if (!a)
        return;
    m_work.insert(name, std::move(work));
    QList<QAction *> actions{a};
    if (name == QLatin1String("FileNewItem"))
        actions << m_commands.value(QStringLiteral("B_NUEVA"));
    for (QAction *x : actions) {
        x->setEnabled(true);
        x->setToolTip(x->property("availableHint").toString());
        x->setStatusTip(QString());
    }
}

void TMainForm::setInstallationOpener(InstallationOpener opener)
{
    m_opener = std::move(opener);
    for (const char *name : {"FileOpenItem", "B_ABRIR"}) {
        QAction *a = m_commands.value(QLatin1String(name));
        if (m_opener) {
            a->setEnabled(true);
            a->setToolTip(a->property("availableHint").toString());
            a->setStatusTip(QString());
        } else {
            setUnavailable(a);
        }
    }
}

void TMainForm::buildCommands()
{
    // File
    QAction *a = makeCommand(QStringLiteral("FileNewItem"), T("MainForm_FileNewItem_Caption"), QStringLiteral("new_installation"));
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    connect(a, &QAction::triggered, this, &TMainForm::runNewInstallation);
    setUnavailable(a);
    a = makeCommand(QStringLiteral("FileOpenItem"), T("MainForm_FileOpenItem_Caption"), QStringLiteral("open"));
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    connect(a, &QAction::triggered, this, [this] { openInstallation(1); });
    setUnavailable(a);
    a = makeCommand(QStringLiteral("FileCloseItem"), M("STAN_CLOSE"), QStringLiteral("close"));
    connect(a, &QAction::triggered, m_mdi, &QMdiArea::closeActiveSubWindow);
    a = makeCommand(QStringLiteral("WorkFolder1"), T("MainForm_WorkFolder1_Caption"), QStringLiteral("work_folder"));
    connect(a, &QAction::triggered, this, [this] { m_direc->exec(); });
    a = makeCommand(QStringLiteral("FileExitItem"), M("STAN_EXIT"), QStringLiteral("exit"));
    connect(a, &QAction::triggered, this, &QWidget::close);

    // Edit
    a = makeCommand(QStringLiteral("CutItem"), T("MainForm_CutItem_Caption"), QStringLiteral("cut"));
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    connect(a, &QAction::triggered, this, [this] { clipboard(0); });
    a = makeCommand(QStringLiteral("CopyItem"), T("MainForm_CopyItem_Caption"), QStringLiteral("copy"));
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    connect(a, &QAction::triggered, this, [this] { clipboard(1); });
    a = makeCommand(QStringLiteral("PasteItem"), T("MainForm_PasteItem_Caption"), QStringLiteral("paste"));
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
    connect(a, &QAction::triggered, this, [this] { clipboard(2); });

    // Window
    a = makeCommand(QStringLiteral("WindowCascadeItem"), T("MainForm_WindowCascadeItem_Caption"), QStringLiteral("cascade"));
    connect(a, &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);
    a = makeCommand(QStringLiteral("WindowTileItem"), T("MainForm_WindowTileItem_Caption"), QStringLiteral("tile_horizontal"));
    connect(a, &QAction::triggered, this, [this] { tile(Qt::Horizontal); });
    a = makeCommand(QStringLiteral("WindowTileItem2"), T("MainForm_WindowTileItem2_Caption"), QStringLiteral("tile_vertical"));
    connect(a, &QAction::triggered, this, [this] { tile(Qt::Vertical); });
    a = makeCommand(QStringLiteral("WindowMinimizeItem"), T("MainForm_WindowMinimizeItem_Caption"), QStringLiteral("minimize_all"));
    connect(a, &QAction::triggered, this, [this] {
        for (QMdiSubWindow *w : m_mdi->subWindowList())
            w->showMinimized();
    });
    a = makeCommand(QStringLiteral("WindowArrangeItem"), T("MainForm_WindowArrangeItem_Caption"), QStringLiteral("arrange_all"));
    connect(a, &QAction::triggered, this, &TMainForm::arrangeMinimized);

    // BRX Net: windows of the device link and the diagnostics.
    struct Net {
        const char *name, *key, *icon;
    };
    for (const Net &n : {Net{"SerialPorts1", "MainForm_SerialPorts1_Caption", "serial_port"},
                         Net{"Installationconnection1", "MainForm_Installationconnection1_Caption", "connection"},
                         Net{"Status1", "MainForm_Status1_Caption", "status"},
                         Net{"TestDetectcentralunits1", "MainForm_TestDetectcentralunits1_Caption", "test"}}) {
        const QString name = QLatin1String(n.name);
        a = makeCommand(name, T(n.key), QLatin1String(n.icon));
        connect(a, &QAction::triggered, this, [this, name] {
            if (auto work = m_work.value(name))
                work();
        });
        setUnavailable(a);
    }
    m_commands.value(QStringLiteral("Status1"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+F")));

    // Options, Help
    a = makeCommand(QStringLiteral("Settings1"), T("MainForm_Settings1_Caption"), QStringLiteral("options"));
    connect(a, &QAction::triggered, this, [this] { m_options->exec(); });
    a = makeCommand(QStringLiteral("Language1"), T("MainForm_Language1_Caption"), QStringLiteral("language"));
    connect(a, &QAction::triggered, this, [this] {
        m_lang->exec();
        if (m_lang->restartRequested())
            close();
    });
    a = makeCommand(QStringLiteral("HelpAboutItem"), T("MainForm_HelpAboutItem_Caption"), QStringLiteral("about"));
    connect(a, &QAction::triggered, this, [this] { m_about->exec(); });
    makeCommand(QStringLiteral("VersionItem"), QStringLiteral("v") + QLatin1String(Settings::kVersion));

    // Toolbar buttons with their own captions and hints; they run the
    // menu commands.
    auto button = [this](const char *name, const char *captionKey, const QString &hint, const char *icon, const char *target) {
        QAction *b = makeCommand(QLatin1String(name), captionKey ? T(captionKey) : QString(), QLatin1String(icon));
        b->setToolTip(hint);
        QAction *t = m_commands.value(QLatin1String(target));
        connect(b, &QAction::triggered, t, &QAction::trigger);
        return b;
    };
    const QString cr = QStringLiteral("\r");
    QAction *open = button("B_ABRIR", "MainForm_B_ABRIR_Caption", T("MainForm_B_ABRIR_Hint"), "open", "FileOpenItem");
    setUnavailable(open);
    QAction *nw = button("B_NUEVA", "MainForm_B_NUEVA_Caption", T("MainForm_B_NUEVA_Hint1") + cr + T("MainForm_B_NUEVA_Hint2"),
                         "new_installation", "FileNewItem");
    setUnavailable(nw);
    button("B_DIRECT", "MainForm_B_DIRECT_Caption", T("MainForm_B_DIRECT_Hint1") + cr + T("MainForm_B_DIRECT_Hint2"),
           "work_folder", "WorkFolder1");
    button("ToolbarButton971", nullptr, T("MainForm_ToolbarButton971_Hint"), "cut", "CutItem");
    button("ToolbarButton9712", nullptr, T("MainForm_ToolbarButton9712_Hint"), "copy", "CopyItem");
    button("ToolbarButton9713", nullptr, T("MainForm_ToolbarButton9713_Hint"), "paste", "PasteItem");
    button("ToolbarButton975", nullptr, T("MainForm_ToolbarButton975_Hint"), "cascade", "WindowCascadeItem");
    button("ToolbarButton976", nullptr, T("MainForm_ToolbarButton976_Hint"), "tile_horizontal", "WindowTileItem");
    button("ToolbarButton978", nullptr, T("MainForm_ToolbarButton978_Hint"), "tile_vertical", "WindowTileItem2");
    QAction *pc = makeCommand(QStringLiteral("B_PC"), T("MainForm_B_PC_Caption"), QStringLiteral("pc_info"));
    pc->setToolTip(T("MainForm_B_PC_Caption").remove(QLatin1Char('&')));
    connect(pc, &QAction::triggered, this, [this] { m_system->exec(); });
}

void TMainForm::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto add = [this](QMenu *menu, const char *name) { menu->addAction(m_commands.value(QLatin1String(name))); };

    QMenu *file = bar->addMenu(M("STAN_FILE"));
    file->setObjectName(QStringLiteral("File1"));
    add(file, "FileNewItem");
    add(file, "FileOpenItem");
    add(file, "FileCloseItem");
    file->addSeparator();
    add(file, "WorkFolder1");
    file->addSeparator();
    add(file, "FileExitItem");

    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    add(edit, "CutItem");
    add(edit, "CopyItem");
    add(edit, "PasteItem");

    QMenu *window = bar->addMenu(T("MainForm_Window1_Caption"));
    window->setObjectName(QStringLiteral("Window1"));
    add(window, "WindowCascadeItem");
    add(window, "WindowTileItem");
    add(window, "WindowTileItem2");
    add(window, "WindowMinimizeItem");
    add(window, "WindowArrangeItem");

    QMenu *net = bar->addMenu(T("MainForm_Setup1_Caption"));
    net->setObjectName(QStringLiteral("Setup1"));
    add(net, "SerialPorts1");
    add(net, "Installationconnection1");
    net->addSeparator();
    add(net, "Status1");
    add(net, "TestDetectcentralunits1");

    QMenu *options = bar->addMenu(T("MainForm_Option1_Caption"));
    options->setObjectName(QStringLiteral("Option1"));
    add(options, "Settings1");
    add(options, "Language1");

    QMenu *help = bar->addMenu(T("MainForm_Help1_Caption"));
    help->setObjectName(QStringLiteral("Help1"));
    add(help, "HelpAboutItem");
    help->addSeparator();
    add(help, "VersionItem");

    for (QMenu *menu : {file, edit, window, net, options, help})
        menu->setToolTipsVisible(true);
}

void TMainForm::buildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Main"));
    m_toolbar->setObjectName(QStringLiteral("Toolbar971"));
    m_toolbar->setIconSize(QSize(24, 24));
    m_toolbar->setMovable(false);
    auto add = [this](const char *name, bool withText) {
        QAction *a = m_commands.value(QLatin1String(name));
        m_toolbar->addAction(a);
        if (auto *b = qobject_cast<QToolButton *>(m_toolbar->widgetForAction(a))) {
            b->setObjectName(QLatin1String(name));
            b->setToolButtonStyle(withText ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
        }
    };
    add("B_ABRIR", true);
    add("B_NUEVA", true);
    add("B_DIRECT", true);
    m_toolbar->addSeparator();
    add("ToolbarButton971", false);
    add("ToolbarButton9712", false);
    add("ToolbarButton9713", false);
    m_toolbar->addSeparator();
    add("ToolbarButton975", false);
    add("ToolbarButton976", false);
    add("ToolbarButton978", false);
    m_toolbar->addSeparator();
    add("B_PC", true);
}

void TMainForm::createForms()
{
    // The PC information window first: it fixes the system folder that the
    // login and the templates need.
    m_system = new TF_System(m_state, this);
    m_login = new TF_Login(Operators::filePath(m_state.systemFolder), this);
    m_selIni = new TF_Sel_Ini(this);
    m_direc = new TF_direc(m_state, this);
    m_options = new TF_Valores_Generales(m_state, this);
    m_lang = new TF_Lang(m_state, this);
    m_about = new TAboutBox(this);
    m_about->setPcInformationWindow(m_system);
    m_password1 = new TF_Password1(this);
    m_password2 = new TF_password2(this);
    m_pass3 = new TF_Pass3(this);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_autoFirstShowing && !m_firstShowingDone)
        QTimer::singleShot(0, this, [this] { firstShowing(); });
}

void TMainForm::applyLevelRestrictions()
{
    if (m_state.operatorLevel == 2) {
        // A users operator works only in installation windows.
        menuBar()->clear();
        menuBar()->hide();
        m_toolbar->hide();
        for (QAction *a : std::as_const(m_commands))
            a->setShortcut(QKeySequence());
    }
}

bool TMainForm::firstShowing()
{
    if (m_firstShowingDone)
        return !m_shutDown;
    m_firstShowingDone = true;

    if (!m_problems.isEmpty())
        Dialogs::instance().warning(m_problems.join(QLatin1Char('\n')), T("MainForm_Caption"));

    if (m_login->exec() != QDialog::Accepted) {
        close();
        return false;
    }
    try {
        SessionLog::startSession(m_state, m_login->operatorName(), m_login->level());
    } catch (const EngineError &e) {
        // The operator is known; only the session record failed.
        m_state.operatorName = SessionLog::loginName(m_login->operatorName());
        m_state.operatorLevel = m_login->level();
        Dialogs::instance().warning(e.text());
    }
    emit loggedIn();

    try {
        applyLevelRestrictions();
        setWindowTitle(QStringLiteral("[(") + m_caption + QStringLiteral(")\\login : ") + m_state.operatorName
                       + QLatin1Char(']'));

        if (!m_selIni->prepare(m_state.operatorLevel, m_state.settings.hasLastInstallation()
                                                           && m_state.installationFile != QLatin1String(Settings::kNoInstallation))) {
            Dialogs::instance().information(T("MainForm_MENSA00"));
            close();
            return false;
        }
        m_selIni->exec();
        const QString choice = m_selIni->choice();
        if (choice == QLatin1String(TF_Sel_Ini::kOpenExisting))
            openInstallation(1);
        else if (choice == QLatin1String(TF_Sel_Ini::kOpenLast))
            openInstallation(2);
        else if (choice == QLatin1String(TF_Sel_Ini::kNew))
            runNewInstallation();
    } catch (const std::exception &) {
        // The opening steps end quietly; the main window stays empty.
    }
    return true;
}

void TMainForm::runNewInstallation()
{
    if (auto work = m_work.value(QStringLiteral("FileNewItem")))
        work();
}

bool TMainForm::openInstallation(int mode)
{
    QString path;
    if (mode == 1)
        path = Dialogs::instance().openFile(T("MainForm_FileOpenItem_Caption").remove(QLatin1Char('&')), m_state.workFolder,
                                            QStringLiteral("AXO Install Files|*.axo"));
    else
        path = m_state.installationFile;
    if (path.isEmpty() || path == QLatin1String("NOTHING") || path == QLatin1String(Settings::kNoInstallation))
        return false;
    return openInstallationFile(path);
}

bool TMainForm::openInstallationFile(const QString &path)
{
    if (!m_opener)
        return false;
    bool opened = false;
    try {
        // The folder of the installation becomes the work folder.
        m_state.workFolder = Paths::withSlash(QFileInfo(path).absolutePath());
        m_state.resetEditingOptions();
        opened = m_opener(*this, path);
    } catch (const std::exception &) {
        opened = false;
    }
    if (!opened)
        return false;
    m_state.installationFile = path;
    m_state.putIntoSettings();
    QString error;
    if (!m_state.settings.save(m_state.settings.filePath(), &error))
        Dialogs::instance().warning(error);
    return true;
}

QString TMainForm::currentInstallationName() const
{
    const QString name = QFileInfo(m_state.installationFile).fileName();
    return name.size() > 4 ? name.left(name.size() - 4) : name;
}

void TMainForm::clipboard(int which)
{
    QWidget *focus = QApplication::focusWidget();
    if (auto *line = qobject_cast<QLineEdit *>(focus)) {
        which == 0 ? line->cut() : which == 1 ? line->copy() : line->paste();
    } else if (auto *text = qobject_cast<QTextEdit *>(focus)) {
        which == 0 ? text->cut() : which == 1 ? text->copy() : text->paste();
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(focus)) {
        which == 0 ? plain->cut() : which == 1 ? plain->copy() : plain->paste();
    }
}

void TMainForm::tile(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *w : m_mdi->subWindowList())
        if (!w->isMinimized() && w->isVisible())
            windows << w;
    if (windows.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (orientation == Qt::Horizontal) {
            const int h = area.height() / n;
            windows[i]->setGeometry(0, i * h, area.width(), h);
        } else {
            const int w = area.width() / n;
            windows[i]->setGeometry(i * w, 0, w, area.height());
        }
    }
}

void TMainForm::arrangeMinimized()
{
    // Lines the minimized windows up along the bottom of the frame.
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow *w : m_mdi->subWindowList()) {
        if (!w->isMinimized())
            continue;
        w->move(x, area.height() - w->height());
        x += w->width();
    }
}

bool TMainForm::runShutdown()
{
    bool refused = false;
    if (m_state.cuSessionOpen) {
        if (m_endCuSession)
            m_endCuSession();
        m_state.cuSessionOpen = false;
    }
    if (m_state.registeringActive) {
        Dialogs::instance().messageWindow(M("F_INCID_ENA00"), M("F_INCID_ENA01"));
        refused = true;
    }
    // The modem is hung up even when the close is refused.
    if (m_state.modemCallActive) {
        if (m_hangUpModem)
            m_hangUpModem();
        m_state.modemCallActive = false;
    }
    if (refused)
        return false;

    m_state.putIntoSettings();
    QString error;
    if (!m_state.settings.save(m_state.settings.filePath(), &error)) {
        // Refusing for ever would leave no way out of the program: the
        // operator is told and decides.
        if (!Dialogs::instance().confirm(error + QLatin1Char('\n') + T("MainForm_CloseAnyway")))
            return false;
    }
    Lang::close();
    if (m_state.loggedIn()) {
        try {
            SessionLog::endSession(m_state);
        } catch (const EngineError &e) {
            Dialogs::instance().warning(e.text());
        }
    }
    return true;
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_shutDown) {
        event->accept();
        return;
    }
    bool ok = false;
    try {
        ok = runShutdown();
    } catch (const std::exception &) {
        ok = false;
    }
    if (!ok) {
        event->ignore();
        return;
    }
    m_shutDown = true;
    m_mdi->closeAllSubWindows();
    event->accept();
}
