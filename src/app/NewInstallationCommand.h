#pragma once

class TMainForm;
class TF_New_Inst2;

// Gives the main window's "New Installation" (menu, toolbar and the opening
// choice) the new-installation wizard: the wizard is created once, shown
// for each use, and an installation it creates is opened at once. Returns
// the wizard (owned by the main window).
TF_New_Inst2 *attachNewInstallation(TMainForm &form);
