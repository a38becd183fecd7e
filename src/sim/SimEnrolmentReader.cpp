#include "sim/SimEnrolmentReader.h"

#include <QTimer>

#include "sim/SimBus.h"

SimEnrolmentReader::SimEnrolmentReader(SimBus *bus) : QObject(bus), m_bus(bus), m_repeat(new QTimer(this))
{
    m_repeat->setSingleShot(true);
    connect(m_repeat, &QTimer::timeout, this, &SimEnrolmentReader::sendLast);
}

void SimEnrolmentReader::present(const QByteArray &cardBytes)
{
    QByteArray six = cardBytes.left(6);
    while (six.size() < 6)
        six.append(char(0));
    m_last = QByteArray(1, 0x1C) + six;
    sendLast();
}

void SimEnrolmentReader::presentCard(const QString &tenHexDigits)
{
    QByteArray bytes = QByteArray::fromHex(tenHexDigits.rightJustified(10, QLatin1Char('0')).toLatin1());
    present(QByteArray(1, 0x00) + bytes.left(5));
}

void SimEnrolmentReader::sendFrame(const QByteArray &data)
{
    ++m_framesSent;
    m_bus->sendToPc(SimFrameCodec::encode(SimFrameCodec::kPcAddress, SimFrameCodec::kReaderAddress, data,
                                          m_bus->secondEtx()));
}

void SimEnrolmentReader::sendLast()
{
    if (m_last.isEmpty())
        return;
    sendFrame(m_last);
    if (m_repeatMs > 0)
        m_repeat->start(m_repeatMs);
}

void SimEnrolmentReader::handleFrame(const SimFrame &frame)
{
    if (frame.code() == 0x06) {
        ++m_acks;
        m_repeat->stop();
        m_last.clear();
    }
}
