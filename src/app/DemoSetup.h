#pragma once

#include <QString>

class TMainForm;

// The demonstration set-up that `veltrona --demo FOLDER` runs on: a settings
// file whose work folder is FOLDER/work/ and whose COM1 is the in-process
// simulated bus, and an operator "demo" with password "demo" at level 0.
// COM1's simulated bus carries three central units. Whatever exists
// already is kept.
namespace DemoSetup {

inline constexpr const char *kOperator = "demo";
inline constexpr const char *kPassword = "demo";
inline constexpr int kCentralUnits = 3;

// Writes what is missing and prints the login to use. False with *error
// when a file cannot be written.
bool prepare(const QString &folder, QString *error);
// Puts the demonstration's central units on the in-process simulated bus.
void attach(TMainForm &form);

} // namespace DemoSetup
