#include "platform/SimulatedPort.h"

#include "sim/SimBus.h"

#include <QCoreApplication>

SimulatedPort::SimulatedPort(SimBus *bus, QObject *parent) : SerialPort(parent), m_bus(bus ? bus : sharedBus()) {}

SimulatedPort::~SimulatedPort() { close(); }

SimBus *SimulatedPort::sharedBus()
{
    static QPointer<SimBus> bus;
    if (!bus)
        bus = new SimBus(QCoreApplication::instance());
    return bus;
}

bool SimulatedPort::open(const QString &path)
{
    close();
    if (!m_bus) {
        m_error = QStringLiteral("%1: the simulated bus is gone").arg(path);
        return false;
    }
    m_path = path;
    m_rx.clear();
    m_open = true;
    connect(m_bus, &SimBus::toPc, this, &SimulatedPort::onToPc);
    m_bus->setLineParity(m_parity == Parity::Even);
    return true;
}

void SimulatedPort::close()
{
    if (!m_open)
        return;
    if (m_bus)
        disconnect(m_bus, &SimBus::toPc, this, &SimulatedPort::onToPc);
    m_open = false;
    m_rx.clear();
}

bool SimulatedPort::setBaudRate(int baud) { return baud > 0; }
bool SimulatedPort::setDataBits(int bits) { return bits == 8; }
bool SimulatedPort::setStopBits(int bits) { return bits == 1 || bits == 2; }

bool SimulatedPort::setParity(Parity parity)
{
    m_parity = parity;
    if (m_open && m_bus)
        m_bus->setLineParity(parity == Parity::Even);
    return true;
}

bool SimulatedPort::setDtr(bool on)
{
    m_dtr = on;
    return true;
}

bool SimulatedPort::write(const QByteArray &bytes)
{
    if (!m_open || !m_bus) {
        m_error = QStringLiteral("port not open");
        return false;
    }
    m_bus->fromPc(bytes);
    if (!m_txEmptyQueued) {
        m_txEmptyQueued = true;
        QMetaObject::invokeMethod(this, [this] {
            m_txEmptyQueued = false;
            if (m_open)
                emit transmitEmpty();
        }, Qt::QueuedConnection);
    }
    return true;
}

QByteArray SimulatedPort::read(qint64 maxBytes)
{
    const QByteArray chunk = m_rx.left(maxBytes);
    m_rx.remove(0, chunk.size());
    return chunk;
}

void SimulatedPort::onToPc(const QByteArray &bytes)
{
    if (!m_open)
        return;
    m_rx.append(bytes);
    emit readyRead();
}
