#include "link/LinkConfig.h"

#include "frame/ProgramState.h"
#include "frame/Settings.h"
#include "link/Link.h"

namespace LinkConfig {

void apply(const Settings &settings, LinkSettings &link)
{
    link.Vel_Trama = settings.velTrama;
    link.Off_By_MODEM = settings.offByModem;
    link.Off_By_Insert_User = settings.offByInsertUser;
    link.Off_By_update_User = settings.offByUpdateUser;
    link.Isolate_BRX = settings.isolateBrx;
    link.Parity = settings.parity;
    link.AT_BaudRate = settings.atBaudRate;
    link.Sys_Port = settings.sysPort;
    link.Prox_Port = settings.proxPort;
    link.portPaths.clear();
    for (int i = 0; i < Settings::kPortCount; ++i)
        link.portPaths.insert(Settings::portName(i), settings.devicePath(Settings::portName(i)));
}

LinkSettings fromSettings(const Settings &settings)
{
    LinkSettings link;
    apply(settings, link);
    return link;
}

} // namespace LinkConfig

namespace ProgramLink {

namespace {
Link *g_link = nullptr;
CuCommands *g_commands = nullptr;
std::function<void(const CuFailure &)> g_failure;
std::function<void(int)> g_cuTest;
} // namespace

void applyState(const ProgramState &state)
{
    if (!g_link)
        return;
    LinkConfig::apply(state.settings, g_link->settings());
    g_link->setModemConnection(state.modemInstallation);
}

void setFailureHandler(std::function<void(const CuFailure &)> handler) { g_failure = std::move(handler); }
void showFailure(const CuFailure &failure)
{
    if (g_failure)
        g_failure(failure);
}
void setCuTestOpener(std::function<void(int cu)> opener) { g_cuTest = std::move(opener); }
void openCuTest(int cu)
{
    if (g_cuTest)
        g_cuTest(cu);
}

void install(Link *link, CuCommands *commands)
{
    g_link = link;
    g_commands = commands;
}

Link *link() { return g_link; }
CuCommands *commands() { return g_commands; }

} // namespace ProgramLink
