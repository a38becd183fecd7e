#include "platform/QSerialPortPort.h"

QSerialPortPort::QSerialPortPort(QObject *parent) : SerialPort(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&m_port, &QSerialPort::bytesWritten, this, &QSerialPortPort::onBytesWritten);
}

QSerialPortPort::~QSerialPortPort() { close(); }

bool QSerialPortPort::open(const QString &path)
{
    close();
    m_error.clear();
    m_port.setPortName(path);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = QStringLiteral("%1: %2").arg(path, m_port.errorString());
        return false;
    }
    m_path = path;
    // The link's line: 9600 8 N/E 2, no flow control. A pseudo-terminal
    // accepts the speed and sizes but may refuse the rest; carry on.
    setBaudRate(9600);
    setDataBits(8);
    setStopBits(2);
    if (!m_port.setFlowControl(QSerialPort::NoFlowControl))
        recordFailure(QStringLiteral("flow control"));
    setParity(m_parity);
    // Bytes that reached the line while the port was closed are no answer to
    // anything this opening will send (a serial port drops them; a
    // pseudo-terminal keeps them): discard them.
    m_port.clear(QSerialPort::Input);
    return true;
}

void QSerialPortPort::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_path.clear();
}

bool QSerialPortPort::isOpen() const { return m_port.isOpen(); }

bool QSerialPortPort::setBaudRate(int baud)
{
    if (!m_port.isOpen())
        return true; // applied at open
    if (m_port.setBaudRate(baud))
        return true;
    recordFailure(QStringLiteral("baud rate %1").arg(baud));
    return false;
}

bool QSerialPortPort::setDataBits(int bits)
{
    if (!m_port.isOpen())
        return true;
    if (m_port.setDataBits(static_cast<QSerialPort::DataBits>(bits)))
        return true;
    recordFailure(QStringLiteral("data bits %1").arg(bits));
    return false;
}

bool QSerialPortPort::setStopBits(int bits)
{
    if (!m_port.isOpen())
        return true;
    if (m_port.setStopBits(bits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop))
        return true;
    recordFailure(QStringLiteral("stop bits %1").arg(bits));
    return false;
}

bool QSerialPortPort::setParity(Parity parity)
{
    m_parity = parity;
    if (!m_port.isOpen())
        return true;
    if (m_port.setParity(parity == Parity::Even ? QSerialPort::EvenParity : QSerialPort::NoParity))
        return true;
    recordFailure(QStringLiteral("parity"));
    m_port.clearError();
    return false;
}

bool QSerialPortPort::setRts(bool on)
{
    m_rts = on;
    if (!m_port.isOpen())
        return false;
    if (m_port.setRequestToSend(on))
        return true;
    recordFailure(QStringLiteral("RTS"));
    m_port.clearError();
    return false;
}

bool QSerialPortPort::setDtr(bool on)
{
    m_dtr = on;
    if (!m_port.isOpen())
        return false;
    if (m_port.setDataTerminalReady(on))
        return true;
    recordFailure(QStringLiteral("DTR"));
    m_port.clearError();
    return false;
}

bool QSerialPortPort::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return false;
    const qint64 written = m_port.write(bytes);
    if (written != bytes.size()) {
        m_error = m_port.errorString();
        return false;
    }
    return true;
}

qint64 QSerialPortPort::bytesAvailable() const { return m_port.isOpen() ? m_port.bytesAvailable() : 0; }

QByteArray QSerialPortPort::read(qint64 maxBytes) { return m_port.isOpen() ? m_port.read(maxBytes) : QByteArray(); }

QString QSerialPortPort::errorString() const { return m_error.isEmpty() ? m_port.errorString() : m_error; }

void QSerialPortPort::onBytesWritten()
{
    if (m_port.bytesToWrite() == 0)
        emit transmitEmpty();
}
