#pragma once

#include "frame/ProgramState.h"

#include <QString>

#include <memory>

class CuCommands;
class Link;
class LinkWindows;
class QApplication;
class QtDialogs;
class TMainForm;

// The program's run: splash, main window (which creates every frame
// window once), first showing, message loop.
class Program {
public:
    struct Options {
        QString demoFolder;   // non-empty: run on the demonstration set-up in this folder
        bool splash = true;
    };

    Program();
    ~Program();

    ProgramState &state() { return m_state; }
    TMainForm *mainForm() const { return m_mainForm.get(); }
    // The program-wide device link and command layer (also reachable
    // through ProgramLink), and the link's windows.
    Link *link() const { return m_link.get(); }
    CuCommands *cuCommands() const { return m_cuCommands.get(); }
    LinkWindows *linkWindows() const { return m_linkWindows; }

    // Start-up up to the main window's creation: folders seeded, the
    // demonstration set-up prepared when asked, the Qt dialogs installed,
    // the main window created (not shown). False with *error when the
    // program cannot start.
    bool start(const Options &options, QString *error);
    // Shows the main window maximised and runs the message loop.
    int exec(QApplication &app);

    // Makes opening an installation create its installation window.
    static void attachInstallationWindow(TMainForm &form);

private:
    void attachLink();
    void attachInstallationCommands();

    ProgramState m_state;
    std::unique_ptr<Link> m_link;
    std::unique_ptr<CuCommands> m_cuCommands;
    LinkWindows *m_linkWindows = nullptr;
    std::unique_ptr<QtDialogs> m_dialogs;
    std::unique_ptr<TMainForm> m_mainForm;
};
