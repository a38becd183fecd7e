#include "link/PortEntries.h"

#include "frame/Settings.h"

namespace PortEntries {

int numberOf(const QString &name)
{
    const int index = Settings::portIndex(name.trimmed());
    return index < 0 ? 0 : index + 1;
}

QList<Entry> list(Settings &settings)
{
    QList<Entry> entries;
    const int system = numberOf(settings.sysPort);
    const int proximity = numberOf(settings.proxPort);
    for (int n = 1; n <= Settings::kPortCount; ++n) {
        QString &mark = settings.ports[size_t(n - 1)];
        if (n == system || n == proximity)
            mark = QLatin1String(kInclude);
        if (mark != QLatin1String(kInclude))
            continue;
        Entry e;
        e.number = n;
        e.name = Settings::portName(n - 1);
        e.description = settings.portsDesc[size_t(n - 1)];
        e.system = n == system;
        e.proximity = n == proximity;
        entries.append(e);
    }
    return entries;
}

QString portFromChoice(const QString &choice)
{
    QString port = choice.left(5);
    if (port.size() == 5 && port.at(4) == QLatin1Char(' '))
        port.chop(1);
    port = port.trimmed();
    return numberOf(port) > 0 ? port.toUpper() : QString();
}

bool add(Settings &settings, int number, const QString &description)
{
    if (number < 1 || number > Settings::kPortCount)
        return false;
    settings.ports[size_t(number - 1)] = QLatin1String(kInclude);
    settings.portsDesc[size_t(number - 1)] = description.left(kDescriptionLength);
    return true;
}

EraseResult erase(Settings &settings, int number)
{
    if (number < 1 || number > Settings::kPortCount)
        return EraseResult::NoSuchPort;
    if (number == numberOf(settings.sysPort))
        return EraseResult::SystemPort;
    if (number == numberOf(settings.proxPort))
        return EraseResult::ProximityPort;
    settings.ports[size_t(number - 1)].clear();
    settings.portsDesc[size_t(number - 1)].clear();
    return EraseResult::Erased;
}

bool setDescription(Settings &settings, int number, const QString &description)
{
    if (number < 1 || number > Settings::kPortCount)
        return false;
    settings.portsDesc[size_t(number - 1)] = description.left(kDescriptionLength);
    return true;
}

bool setSystemPort(Settings &settings, const QString &name)
{
    const int n = numberOf(name);
    if (n == 0)
        return false;
    settings.sysPort = Settings::portName(n - 1);
    settings.ports[size_t(n - 1)] = QLatin1String(kInclude);
    return true;
}

bool setProximityPort(Settings &settings, const QString &name)
{
    const int n = numberOf(name);
    if (n == 0)
        return false;
    settings.proxPort = Settings::portName(n - 1);
    settings.ports[size_t(n - 1)] = QLatin1String(kInclude);
    return true;
}

} // namespace PortEntries
