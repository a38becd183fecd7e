#include "platform/SerialPortFactory.h"

#include "platform/QSerialPortPort.h"

namespace SerialPortFactory {

std::unique_ptr<SerialPort> create(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    return std::make_unique<QSerialPortPort>();
}

} // namespace SerialPortFactory
