#include "app/Program.h"

#include "app/DemoSetup.h"
#include "app/Main.h"
#include "app/NewInstallationCommand.h"
#include "app/QtDialogs.h"
#include "app/Splash.h"
#include "common/ui/Icons.h"
#include "editors/ui/F_Princ.h"
#include "diagnostics/ui/LinkWindows.h"
#include "link/CuCommands.h"
#include "link/Link.h"
#include "link/LinkConfig.h"
#include "link/Modem.h"
#include "platform/Paths.h"
#include "store/InstallationFile.h"
#include "transfer/ui/F_Asist00.h"
#include "transfer/ui/F_Blocks_Sum.h"
#include "transfer/ui/F_Borra_Bl.h"
#include "transfer/ui/F_Load_B.h"

#include <QApplication>
#include <QScreen>
#include <QMdiArea>
#include <QMdiSubWindow>

Program::Program() = default;

Program::~Program()
{
    ProgramLink::install(nullptr, nullptr);
    ProgramLink::setFailureHandler({});
    ProgramLink::setCuTestOpener({});
    m_mainForm.reset();
    if (m_dialogs)
        Dialogs::install(nullptr);
}

bool Program::start(const Options &options, QString *error)
{
    Icons::init();
    QApplication::setApplicationName(QStringLiteral("Veltrona"));
    QApplication::setWindowIcon(Icons::icon(QStringLiteral("veltrona")));

    if (!Paths::seedFolders(error))
        return false;
    if (!options.demoFolder.isEmpty() && !DemoSetup::prepare(options.demoFolder, error))
        return false;

    m_dialogs = std::make_unique<QtDialogs>();
    Dialogs::install(m_dialogs.get());

    if (options.splash) {
        TSplash splash;
        splash.exec();
    }
    m_mainForm = std::make_unique<TMainForm>(m_state);
    m_dialogs->setParent(m_mainForm.get());
    attachNewInstallation(*m_mainForm);
    attachLink();
    if (!options.demoFolder.isEmpty())
        DemoSetup::attach(*m_mainForm);
    attachInstallationWindow(*m_mainForm);
    attachInstallationCommands();
    return true;
}

// --- installation window -------------------------------------------------------
// Opening an installation creates its installation window as an MDI child of
// the main window and runs the opening steps in it; the main window then
// records the file as the last installation and writes the settings.
void Program::attachInstallationWindow(TMainForm &form)
{
    form.setInstallationOpener([](TMainForm &main, const QString &path) {
        auto *window = new TF_Principal(main.state());
        QMdiSubWindow *sub = main.mdiArea()->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowIcon(window->windowIcon());
        QObject::connect(main.mdiArea(), &QMdiArea::subWindowActivated, window, [window, sub](QMdiSubWindow *active) {
            if (active == sub)
                window->activated();
        });
        sub->resize(main.mdiArea()->size());
        sub->showMaximized();
        if (!window->openInstallation(path)) {
            sub->close();
            return false;
        }
        ProgramLink::applyState(main.state());
        return true;
    });
}

// --- device link -------------------------------------------------------------
// One link for the whole run, configured from the settings the main window
// has read; its windows are attached to the main window's "BRX Net" commands.
void Program::attachLink()
{
    if (!ProgramLink::link()) {
        m_link = std::make_unique<Link>();
        m_cuCommands = std::make_unique<CuCommands>(*m_link);
        ProgramLink::install(m_link.get(), m_cuCommands.get());
    }
    Link &link = *ProgramLink::link();
    CuCommands &commands = *ProgramLink::commands();
    ProgramLink::applyState(m_state);

    TMainForm &form = *m_mainForm;
    m_linkWindows = new LinkWindows(m_state, link, commands, &form);
    LinkWindows *windows = m_linkWindows;
    form.setCommand(QStringLiteral("SerialPorts1"), [windows] { windows->showSerialPorts(); });
    form.setCommand(QStringLiteral("Installationconnection1"), [windows] { windows->showConnection(); });
    form.setCommand(QStringLiteral("Status1"), [windows] { windows->showStatus(); });
    form.setCommand(QStringLiteral("TestDetectcentralunits1"), [windows] { windows->showCuTest(); });
    ProgramLink::setFailureHandler([windows](const CuFailure &failure) { windows->showFailure(failure); });
    ProgramLink::setCuTestOpener([windows](int cu) { windows->showCuTest(cu); });
    form.setEndCuSession([&commands] { commands.Cu_Logout(); });
    form.setHangUpModem([&link] {
        if (link.modemLinkUp()) {
            Modem modem(link);
            modem.Modem_Hang_Up();
        }
    });
}

// --- the installation window's commands -----------------------------------------
// The block tools and the central unit test open from the installation
// window; the window reloads its tree after the block tools itself.
void Program::attachInstallationCommands()
{
    TF_Principal::registerCommand(QStringLiteral("NEW_BLOCK"), [](TF_Principal &window) {
        TF_Asist00::run(&window, window.workFolder(), window.installationName());
    });
    TF_Principal::registerCommand(QStringLiteral("LOAD_BLOCK"), [](TF_Principal &window) {
        TF_Load_B::run(&window, window.workFolder(), window.installationName());
    });
    TF_Principal::registerCommand(QStringLiteral("BLOCKS_SUMMARY"), [](TF_Principal &window) {
        TF_Blocks_Sum::run(&window, window.workFolder(), window.installationName());
    });
    TF_Principal::setDeleteBlockQuestion(
        [](TF_Principal &window, const QString &block) { return TF_Borra_Bl::ask(&window, block); });

    LinkWindows *windows = m_linkWindows;
    // After a test the block icons show which central units answered.
    auto test = [windows](TF_Principal &window, bool start) {
        const InstallationFile installation(window.workFolder(), window.installationName());
        // Nothing to test automatically in an installation without blocks.
        if (start && installation.countBlocks() == QLatin1String("0"))
            return;
        windows->testInstallation(installation.path(), start);
        window.refreshIcons();
    };
    TF_Principal::registerCommand(QStringLiteral("TEST_INSTALLATION"), [test](TF_Principal &window) { test(window, false); });
    TF_Principal::registerCommand(QStringLiteral("AUTO_TEST"), [test](TF_Principal &window) { test(window, true); });
    TF_Principal::setSessionCu([]() -> std::optional<int> {
        Link *link = ProgramLink::link();
        if (!link || link->currentCu() > 63)
            return std::nullopt;
        return int(link->currentCu());
    });
}

int Program::exec(QApplication &app)
{
    // Fill the screen first: without a window manager (a bare virtual
    // display) a request to maximise is not carried out.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        m_mainForm->setGeometry(screen->availableGeometry());
    m_mainForm->showMaximized();
    return app.exec();
}
