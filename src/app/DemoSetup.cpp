#include "app/DemoSetup.h"

#include "app/Main.h"
#include "frame/Operators.h"
#include "frame/Settings.h"
#include "platform/Paths.h"
#include "platform/SimulatedPort.h"
#include "sim/SimBus.h"
#include "sim/SimCentralUnit.h"

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

void attach(TMainForm &)
{
    // The bus behind COM1 ("sim"): three central units at addresses 0, 1
    // and 2, with their factory codes.
    SimBus *bus = SimulatedPort::sharedBus();
    for (int address = 0; address < kCentralUnits; ++address)
        if (!bus->unit(address))
            bus->addUnit(address);
    QTextStream out(stdout);
    out << "  COM1: simulated BRX bus with " << kCentralUnits << " central units (addresses 0-" << kCentralUnits - 1
        << "), programming code " << QString::fromLatin1(SimCentralUnit::factoryCode(SimCentralUnit::ProgrammingCode)).trimmed() << "\n";
}

} // namespace DemoSetup
