#include "app/Program.h"

#include "app/DemoSetup.h"
#include "app/Main.h"
#include "app/NewInstallationCommand.h"
#include "app/QtDialogs.h"
#include "app/Splash.h"
#include "common/ui/Icons.h"
#include "platform/Paths.h"

#include <QApplication>

Program::Program() = default;

Program::~Program()
{
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
    if (!options.demoFolder.isEmpty())
        DemoSetup::attach(*m_mainForm);
    return true;
}

int Program::exec(QApplication &app)
{
    m_mainForm->showMaximized();
    return app.exec();
}
