#include "sim/SimBus.h"

#include <QTimer>

#include "sim/SimCentralUnit.h"
#include "sim/SimEnrolmentReader.h"
#include "sim/SimModem.h"

SimBus::SimBus(QObject *parent) : QObject(parent)
{
    m_reader = new SimEnrolmentReader(this);
    m_modem = new SimModem(this);
}

SimBus::~SimBus() = default;

void SimBus::fromPc(const QByteArray &bytes)
{
    m_bytesFromPc += bytes.size();
    if (m_modemAttached && !m_modem->connected()) {
        m_modem->fromPc(bytes);
        return;
    }
    const qint64 droppedBefore = m_decoder.droppedFrames();
    const QVector<SimFrame> frames = m_decoder.feed(bytes);
    m_badFramesFromPc += m_decoder.droppedFrames() - droppedBefore;
    for (const SimFrame &frame : frames)
        handleFrame(frame);
}

void SimBus::handleFrame(const SimFrame &frame)
{
    ++m_framesFromPc;
    emit frameFromPc(frame);
    // Behind a modem the far side's settings decide; the PC's parity does not reach the bus.
    const bool behindModem = m_modemAttached && m_modem->connected();
    auto parityOk = [&](const SimCentralUnit *u) {
        switch (u->requiredParity()) {
        case SimCentralUnit::Parity::Any:
            return true;
        case SimCentralUnit::Parity::Even:
            return behindModem || m_parityEven;
        case SimCentralUnit::Parity::None:
            return behindModem || !m_parityEven;
        }
        return true;
    };
    if (frame.destination < 64) {
        if (SimCentralUnit *u = m_units[frame.destination])
            u->handleFrame(frame, false, parityOk(u));
    } else if (frame.destination == SimFrameCodec::kAllUnits) {
        for (SimCentralUnit *u : m_units)
            if (u)
                u->handleFrame(frame, true, parityOk(u));
    } else if (frame.destination == SimFrameCodec::kReaderAddress) {
        m_reader->handleFrame(frame);
    }
}

void SimBus::setLineParity(bool even)
{
    m_parityEven = even;
}

SimCentralUnit *SimBus::addUnit(int address)
{
    if (address < 0 || address > 63)
        return nullptr;
    if (!m_units[address])
        m_units[address] = new SimCentralUnit(this, address);
    return m_units[address];
}

SimCentralUnit *SimBus::unit(int address) const
{
    if (address < 0 || address > 63)
        return nullptr;
    return m_units[address];
}

void SimBus::removeUnit(int address)
{
    if (address < 0 || address > 63 || !m_units[address])
        return;
    delete m_units[address];
    m_units[address] = nullptr;
}

QVector<int> SimBus::unitAddresses() const
{
    QVector<int> list;
    for (int a = 0; a < 64; ++a)
        if (m_units[a])
            list.append(a);
    return list;
}

SimEnrolmentReader *SimBus::enrolmentReader()
{
    return m_reader;
}

SimModem *SimBus::modem()
{
    return m_modem;
}

void SimBus::setModemAttached(bool attached)
{
    if (attached == m_modemAttached)
        return;
    m_modemAttached = attached;
    m_modem->reset();
    m_decoder.reset();
}

bool SimBus::secondEtx() const
{
    return !(m_modemAttached && m_modem->connected());
}

void SimBus::sendToPc(const QByteArray &bytes, int delayMs)
{
    if (m_modemAttached && !m_modem->connected())
        return;
    QTimer::singleShot(qMax(0, delayMs), this, [this, bytes] { emitNow(bytes); });
}

void SimBus::modemSend(const QByteArray &bytes, int delayMs)
{
    QTimer::singleShot(qMax(0, delayMs), this, [this, bytes] { emitNow(bytes); });
}

void SimBus::emitNow(const QByteArray &bytes)
{
    m_bytesToPc += bytes.size();
    emit toPc(bytes);
}
