#include "app/DemoSetup.h"

#include "app/Main.h"
#include "frame/Operators.h"
#include "frame/Settings.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace DemoSetup {

bool prepare(const QString &folder, QString *error)
{
    const QString root = Paths::withSlash(QDir(folder).absolutePath());
    const QString work = root + QStringLiteral("work/");
    if (!QDir().mkpath(work)) {
        if (error)
            *error = QStringLiteral("cannot create the folder %1").arg(work);
        return false;
    }

    const QString settingsPath = Settings::filePath();
    if (!QFileInfo::exists(settingsPath)) {
        Settings settings;
        settings.senda = work;
        settings.ports[0] = QStringLiteral("Include");
        settings.portsDesc[0] = QStringLiteral("Simulated BRX bus");
        settings.portsPath[0] = QStringLiteral("sim");
        if (!settings.save(settingsPath, error))
            return false;
    }

    const QString operatorFile = Operators::filePath(Paths::systemDir());
    int level = -1;
    if (!Operators::checkOperator(QLatin1String(kOperator), QLatin1String(kPassword), &level, operatorFile)) {
        QString why;
        if (Operators::addOperator(operatorFile, QLatin1String(kOperator), QLatin1String(kPassword), 0, &why)
            != Operators::AddResult::Ok) {
            if (error)
                *error = why;
            return false;
        }
        level = 0;
    }
    QTextStream(stdout) << "Veltrona demonstration in " << root << "\n"
                        << "  work folder " << work << "\n"
                        << "  login: " << kOperator << "   password: " << kPassword << "   (level " << level << ")\n";
    return true;
}

void attach(TMainForm &) {}

} // namespace DemoSetup
