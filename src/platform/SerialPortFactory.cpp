#include "platform/SerialPortFactory.h"

#include "platform/QSerialPortPort.h"
#include "platform/SimulatedPort.h"

namespace SerialPortFactory {

std::unique_ptr<SerialPort> create(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    if (path == kSimulatedPath)
        return std::make_unique<SimulatedPort>();
    return std::make_unique<QSerialPortPort>();
}

} // namespace SerialPortFactory
