#include "app/NewInstallationCommand.h"

#include "app/Main.h"
#include "store/ui/F_New_Inst2.h"

TF_New_Inst2 *attachNewInstallation(TMainForm &form)
{
    auto *wizard = new TF_New_Inst2(form.state(), &form);
    form.setCommand(QStringLiteral("FileNewItem"), [wizard, &form] {
        // The installation is opened once the wizard has closed.
        if (wizard->exec() == QDialog::Accepted && !wizard->createdPath().isEmpty())
            form.openInstallationFile(wizard->createdPath());
    });
    return wizard;
}
