#pragma once

#include "frame/Settings.h"

#include <QString>

// The program-wide state that the frame owns for the whole run and that
// windows and operations read: folders, the current installation, the
// operator and the connection flags. A plain object; the application
// creates one and hands it to whoever needs it.
struct ProgramState {
    static constexpr const char *kAnyone = "ANYONE";

    Settings settings;          // the values of VELTRONA.INI

    QString workFolder;         // ends in '/'
    QString installationFile;   // full path; "AINTNO" when none
    QString installationName;   // root caption of the installation tree
    QString systemFolder;       // ends in '/'

    QString operatorName = QString::fromLatin1(kAnyone);
    int operatorLevel = 0;      // 0, 1 or 2
    int sessionId = 0;          // ID_K of the operator's session row, 0 when none

    bool modemInstallation = false;  // the installation is reached by modem
    bool cuSessionOpen = false;      // a central unit connection is established
    bool registeringActive = false;  // incidence registering is on
    bool modemCallActive = false;    // a modem call is up

    // Editing options kept only in memory; switched on again whenever an
    // installation window is created.
    bool askUpdateAfterEdit = true;   // "Ask to UPDATE Central Unit when finish edition"
    bool askConfirmDelete = true;     // "Ask confirmation before delete"

    bool loggedIn() const { return operatorName != QLatin1String(kAnyone); }

    // Takes the folders and the last installation from the settings.
    void takeFromSettings()
    {
        workFolder = settings.senda;
        installationFile = settings.ultimaInst;
    }
    // Puts the values the program changes back into the settings before
    // they are written.
    void putIntoSettings()
    {
        settings.senda = workFolder;
        settings.ultimaInst = installationFile;
    }
    void resetEditingOptions()
    {
        askUpdateAfterEdit = true;
        askConfirmDelete = true;
    }
};
