#pragma once

#include <QList>
#include <QString>

class Settings;

// The 16 port entries of the settings file (COM1..COM16, each "Include" or
// empty, with a description of up to 30 characters) and the two ports the
// program uses: the system port (Sys_Port) and the proximity port
// (Prox_Port). The serial ports window edits them through these routines;
// the settings are written with the settings file.
namespace PortEntries {

constexpr int kDescriptionLength = 30;
inline constexpr const char *kInclude = "Include";

struct Entry {
    int number = 0;        // 1..16
    QString name;          // "COM3"
    QString description;
    bool system = false;   // the system port
    bool proximity = false; // the proximity port
};

// The listed ports in number order: every entry marked "Include", plus the
// system and proximity ports, which become "Include" if they were not.
QList<Entry> list(Settings &settings);

// Port number 1..16 of a name ("com12" -> 12); 0 when it is none of them.
int numberOf(const QString &name);

// The port name kept in an installation's PUERTO from a port choice such as
// "COM1 Simulated bus" or "COM12 Modem": the first five characters, or the
// first four when the fifth is a space. Empty when the text does not start
// with a port name COM1..COM16.
QString portFromChoice(const QString &choice);

// Marks port `number` "Include" with `description` (cut to 30 characters).
// False when the number is outside 1..16.
bool add(Settings &settings, int number, const QString &description);

enum class EraseResult { Erased, SystemPort, ProximityPort, NoSuchPort };
// Clears the entry and the description of port `number`; the system and
// the proximity port are refused.
EraseResult erase(Settings &settings, int number);

// The description of port `number` (cut to 30 characters).
bool setDescription(Settings &settings, int number, const QString &description);

// The system or proximity port := `name` (a COM1..COM16 name, upper case).
// False for any other text.
bool setSystemPort(Settings &settings, const QString &name);
bool setProximityPort(Settings &settings, const QString &name);

} // namespace PortEntries
