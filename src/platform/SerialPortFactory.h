#pragma once

#include "platform/SerialPort.h"

#include <memory>

// Opens the right kind of port for a device path: "sim" is the in-process
// simulated bus, anything else a serial device or pseudo-terminal.
namespace SerialPortFactory {

inline const QString kSimulatedPath = QStringLiteral("sim");

std::unique_ptr<SerialPort> create(const QString &path);

} // namespace SerialPortFactory
