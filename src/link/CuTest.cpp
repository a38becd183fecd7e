#include "link/CuTest.h"

using namespace FrameCodec;

QList<TestFrameCollector::Frame> TestFrameCollector::feed(const QByteArray &bytes)
{
    QList<Frame> frames;
    for (char c : bytes) {
        if (m_bytes.isEmpty() && uint8_t(c) != DLE)
            continue; // collection starts at the first DLE
        m_bytes.append(c);
        if (m_bytes.size() == 2 && uint8_t(c) != STX) {
            // Realign on the first DLE STX.
            m_bytes = uint8_t(c) == DLE ? QByteArray(1, char(DLE)) : QByteArray();
            continue;
        }
        // After destination and source the data may hold doubled DLEs;
        // the frame ends at a DLE ETX that is not the second byte of a pair.
        if (m_bytes.size() < 6)
            continue;
        int i = 4; // first data byte
        bool ended = false;
        while (i < m_bytes.size()) {
            if (uint8_t(m_bytes[i]) == DLE) {
                if (i + 1 >= m_bytes.size())
                    break;
                const auto next = uint8_t(m_bytes[i + 1]);
                if (next == ETX) {
                    ended = i + 2 == m_bytes.size();
                    break;
                }
                if (next == STX) {
                    // A new frame starts inside this one.
                    m_bytes = m_bytes.mid(i);
                    i = 4;
                    continue;
                }
                i += 2;
                continue;
            }
            ++i;
        }
        if (!ended)
            continue;
        Frame frame;
        frame.destination = uint8_t(m_bytes[2]);
        frame.source = uint8_t(m_bytes[3]);
        frame.code = uint8_t(m_bytes[4]);
        frame.raw = m_bytes;
        m_bytes.clear();
        if (frame.destination == m_own || frame.destination == kAllCus)
            frames.append(frame);
    }
    return frames;
}

void TestFrameCollector::clear() { m_bytes.clear(); }

CuTest::CuTest(Link &link, CuCommands &commands) : m_link(link), m_commands(commands) {}

QByteArray CuTest::frame(int cu) { return encodeTest(uint8_t(cu), kPcAddress, QByteArray(1, char(0x01))); }

bool CuTest::open(QString *error)
{
    close();
    const QString path = m_link.settings().devicePath(m_link.settings().Sys_Port);
    m_port = m_link.createPort(path, error);
    if (!m_port)
        return false;
    m_port->setParity(m_link.settings().parityEven() ? SerialPort::Parity::Even : SerialPort::Parity::None);
    if (!m_port->open(path)) {
        if (error)
            *error = m_port->errorString();
        m_port.reset();
        return false;
    }
    m_port->setBaudRate(9600);
    m_port->setStopBits(2);
    m_collector.clear();
    QObject::connect(m_port.get(), &SerialPort::readyRead, m_port.get(), [this] {
        while (m_port->bytesAvailable() > 0)
            m_frames.append(m_collector.feed(m_port->read(128)));
        m_link.wake(); // the first accepted frame ends the attempt
    });
    return true;
}

void CuTest::close()
{
    if (!m_port)
        return;
    m_port->close();
    m_port.release()->deleteLater();
}

CuTest::Result CuTest::testCu(int cu)
{
    Result result;
    result.cu = cu;
    if (!m_port)
        return result;
    const QByteArray bytes = frame(cu);
    for (int attempt = 0; attempt < 3 && !result.answered; ++attempt) {
        m_frames.clear();
        m_collector.clear();
        if (!m_port->write(bytes))
            break;
        m_link.addFramesSent();
        m_link.trace().record(LinkTrace::Direction::Sent, uint8_t(cu), kPcAddress, 0x01, bytes);
        auto fromCu = [&] {
            for (const TestFrameCollector::Frame &f : std::as_const(m_frames)) {
                if (f.destination == kPcAddress && f.source == uint8_t(cu))
                    return true;
            }
            return false;
        };
        m_link.waitUntil(fromCu, m_link.settings().cuTestAttemptMs);
        for (const TestFrameCollector::Frame &f : std::as_const(m_frames)) {
            if (f.destination != kPcAddress)
                continue; // frames to all CUs are kept but are no answer
            m_link.addFramesReceived();
            m_link.trace().record(LinkTrace::Direction::Received, f.destination, f.source, f.code, f.raw);
            if (f.source == uint8_t(cu) && !result.answered) {
                result.answered = true;
                result.code = f.code;
            }
        }
    }
    if (result.answered)
        m_commands.setDetected(cu, true);
    return result;
}

QList<CuTest::Result> CuTest::testCus(const QList<int> &cus)
{
    m_stop = false;
    QList<Result> results;
    for (int cu : cus) {
        if (m_stop || m_link.stopFlag())
            break;
        results.append(testCu(cu));
    }
    return results;
}
