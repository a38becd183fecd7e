#pragma once

#include "link/LinkSettings.h"

#include <functional>

class CuCommands;
class Link;
class Settings;
struct CuFailure;
struct ProgramState;

// The link's values from the settings file: the one mapping used by the
// program and by veltrona-cli.
namespace LinkConfig {

// Overwrites the values of `link` that the settings file holds (timers,
// isolation, parity, AT_BaudRate, Sys_Port, Prox_Port, the port paths of
// COM1..COM16); the fixed timings of the link are left as they are.
void apply(const Settings &settings, LinkSettings &link);
LinkSettings fromSettings(const Settings &settings);

} // namespace LinkConfig

// The program-wide link and its command layer, created once by the
// program's start-up and kept for the whole run. Windows and operations
// that talk to the central units take them from here; null when none was
// installed (a test that builds a window on its own link passes it in).
namespace ProgramLink {

void install(Link *link, CuCommands *commands);
Link *link();
CuCommands *commands();

// Brings the installed link in step with the program state: the settings'
// link values and the modem-connection flag. Call it after opening an
// installation (InstallationConnection::applyOnOpen) or changing settings.
void applyState(const ProgramState &state);

// The windows the program attaches: the failure window after a
// programming connection failed, and the CU test window (for one CU, or
// cu < 0 for the installation's test). Without a handler nothing is shown.
void setFailureHandler(std::function<void(const CuFailure &)> handler);
void showFailure(const CuFailure &failure);
void setCuTestOpener(std::function<void(int cu)> opener);
void openCuTest(int cu = -1);

} // namespace ProgramLink
