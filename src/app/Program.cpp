#include "app/Program.h"

#include "app/DemoSetup.h"
#include "app/Main.h"
#include "app/QtDialogs.h"
#include "app/Splash.h"
#include "common/ui/Icons.h"
#include "diagnostics/ui/LinkWindows.h"
#include "link/CuCommands.h"
#include "link/Link.h"
#include "link/LinkConfig.h"
#include "link/Modem.h"
#include "platform/Paths.h"

#include <QApplication>

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
    attachLink();
    if (!options.demoFolder.isEmpty())
        DemoSetup::attach(*m_mainForm);
    return true;
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

int Program::exec(QApplication &app)
{
    m_mainForm->showMaximized();
    return app.exec();
}
