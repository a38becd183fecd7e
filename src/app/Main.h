#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <functional>

class QAction;
class QMdiArea;
class QToolBar;
struct ProgramState;
class TAboutBox;
class TF_Lang;
class TF_Login;
class TF_Pass3;
class TF_Password1;
class TF_password2;
class TF_Sel_Ini;
class TF_System;
class TF_Valores_Generales;
class TF_direc;

// The main window: the MDI frame that holds one installation window per
// opened installation, with the main menu and the "Main" toolbar.
//
// Its creation reads the settings file, opens the language file and loads
// the shared texts, applies its own texts and creates the program's other
// frame windows once (the PC information window first, which fixes the
// system folder). Its first showing runs the login and the opening choice
// (firstShowing()); closing it runs the shutdown (refused while incidence
// registering is active).
//
// The windows of other parts of the program are attached by their owners:
// setCommand() gives a menu command its work (until then the command is
// shown disabled with a "not available yet" hint) and
// setInstallationOpener() gives the opening of an installation file its
// installation window.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Creates the installation window of `path` as an MDI child of `form`
    // and fills it; returns false when the opening stopped.
    using InstallationOpener = std::function<bool(TMainForm &form, const QString &path)>;

    explicit TMainForm(ProgramState &state, QWidget *parent = nullptr);
    ~TMainForm() override;

    ProgramState &state() { return m_state; }
    QMdiArea *mdiArea() const { return m_mdi; }
    QToolBar *mainToolBar() const { return m_toolbar; }
    // A command by its name (FileNewItem, FileOpenItem, WorkFolder1, B_PC, ...).
    QAction *command(const QString &name) const { return m_commands.value(name); }
    QStringList commandNames() const { return m_commands.keys(); }

    // Gives a command its work and enables it. The commands of other parts:
    // FileNewItem (new-installation wizard), SerialPorts1,
    // Installationconnection1, Status1, TestDetectcentralunits1.
    void setCommand(const QString &name, std::function<void()> work);
    void setInstallationOpener(InstallationOpener opener);
    // Shutdown work of the device link: ending an open central unit session
    // and hanging up a modem call.
    void setEndCuSession(std::function<void()> work) { m_endCuSession = std::move(work); }
    void setHangUpModem(std::function<void()> work) { m_hangUpModem = std::move(work); }

    // The frame's windows, created once.
    TF_System *systemWindow() const { return m_system; }
    TF_Login *loginWindow() const { return m_login; }
    TF_Sel_Ini *openingChoiceWindow() const { return m_selIni; }
    TF_direc *workFolderWindow() const { return m_direc; }
    TF_Valores_Generales *optionsWindow() const { return m_options; }
    TF_Lang *languageWindow() const { return m_lang; }
    TAboutBox *aboutWindow() const { return m_about; }
    TF_Password1 *password1Window() const { return m_password1; }
    TF_password2 *password2Window() const { return m_password2; }
    TF_Pass3 *pass3Window() const { return m_pass3; }

    // False when the creation stopped early (a settings value that is not a
    // number, a language file that cannot be read); the reasons are in
    // creationProblems().
    bool createdCompletely() const { return m_createdCompletely; }
    QStringList creationProblems() const { return m_problems; }

    // The login, the operator's restrictions, the caption and the opening
    // choice. Runs once; later calls do nothing. Returns false when the
    // program is to end (the main window has been closed).
    bool firstShowing();
    // Opens an installation: mode 1 asks for the file, mode 2 takes the last
    // one. Returns true when an installation window was opened.
    bool openInstallation(int mode);
    // The same for a known file.
    bool openInstallationFile(const QString &path);

    // The name of the current installation given to other windows: the
    // current installation file's name without folder and extension.
    QString currentInstallationName() const;
    // True once the shutdown has run to its end.
    bool shutDown() const { return m_shutDown; }

    // Runs the first showing when the window is first shown (default on).
    void setAutoFirstShowing(bool on) { m_autoFirstShowing = on; }

signals:
    // The first showing ended with a logged-in operator.
    void loggedIn();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void readSettingsAndTexts();
    void buildCommands();
    void buildMenus();
    void buildToolbar();
    void createForms();
    void applyLevelRestrictions();
    bool runShutdown();
    QAction *makeCommand(const QString &name, const QString &text, const QString &icon = QString());
    void setUnavailable(QAction *action);
    void clipboard(int which);
    void tile(Qt::Orientation orientation);
    void arrangeMinimized();
    void runNewInstallation();

    ProgramState &m_state;
    QMdiArea *m_mdi = nullptr;
    QToolBar *m_toolbar = nullptr;
    QHash<QString, QAction *> m_commands;
    QHash<QString, std::function<void()>> m_work;
    InstallationOpener m_opener;
    std::function<void()> m_endCuSession;
    std::function<void()> m_hangUpModem;

    TF_System *m_system = nullptr;
    TF_Login *m_login = nullptr;
    TF_Sel_Ini *m_selIni = nullptr;
    TF_direc *m_direc = nullptr;
    TF_Valores_Generales *m_options = nullptr;
    TF_Lang *m_lang = nullptr;
    TAboutBox *m_about = nullptr;
    TF_Password1 *m_password1 = nullptr;
    TF_password2 *m_password2 = nullptr;
    TF_Pass3 *m_pass3 = nullptr;

    bool m_createdCompletely = true;
    QStringList m_problems;
    QString m_caption;
    bool m_firstShowingDone = false;
    bool m_autoFirstShowing = true;
    bool m_shutDown = false;
};
