#include "app/Program.h"

#include "app/DemoSetup.h"
#include "app/Main.h"
#include "app/NewInstallationCommand.h"
#include "app/QtDialogs.h"
#include "app/Splash.h"
#include "common/ui/Icons.h"
#include "editors/ui/F_Princ.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

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
    attachInstallationWindow(*m_mainForm);
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
        return true;
    });
}

int Program::exec(QApplication &app)
{
    m_mainForm->showMaximized();
    return app.exec();
}
