#include "sim/SimFrame.h"

namespace SimFrameCodec {

quint8 checksum(quint8 destination, quint8 source, const QByteArray &data)
{
    quint8 sum = destination ^ source;
    for (char c : data) {
        const quint8 b = quint8(c);
        if (b != kDle)
            sum ^= b;
    }
    return sum;
}

QByteArray encode(quint8 destination, quint8 source, const QByteArray &data, bool secondEtx,
                  bool corruptChecksum)
{
    QByteArray out;
    out.reserve(data.size() * 2 + 9);
    out.append(char(kDle));
    out.append(char(kStx));
    out.append(char(destination));
    out.append(char(source));
    for (char c : data) {
        out.append(c);
        if (quint8(c) == kDle)
            out.append(c);
    }
    quint8 sum = checksum(destination, source, data);
    if (corruptChecksum)
        sum ^= 0x5A;
    out.append(char(sum));
    if (sum == kDle)
        out.append(char(sum));
    out.append(char(kDle));
    out.append(char(kEtx));
    if (secondEtx)
        out.append(char(kEtx));
    return out;
}

} // namespace SimFrameCodec

using namespace SimFrameCodec;

void SimFrameDecoder::reset()
{
    m_state = State::Idle;
    m_body.clear();
}

QVector<SimFrame> SimFrameDecoder::feed(const QByteArray &bytes)
{
    QVector<SimFrame> frames;
    for (char c : bytes) {
        const quint8 b = quint8(c);
        switch (m_state) {
        case State::Idle:
            if (b == kDle)
                m_state = State::Dle;
            break;
        case State::Dle:
            m_state = b == kStx ? State::Destination : State::Idle;
            break;
        case State::Destination:
            m_frame = SimFrame{};
            m_body.clear();
            m_frame.destination = b;
            m_state = State::Source;
            break;
        case State::Source:
            m_frame.source = b;
            m_state = State::Data;
            break;
        case State::Data:
            if (b == kDle) {
                m_state = State::DataDle;
            } else if (m_body.size() >= kMaxData) {
                ++m_dropped;
                reset();
            } else {
                m_body.append(c);
            }
            break;
        case State::DataDle:
            if (b == kDle) {
                if (m_body.size() >= kMaxData) {
                    ++m_dropped;
                    reset();
                } else {
                    m_body.append(c);
                    m_state = State::Data;
                }
            } else if (b == kStx) {
                // A new frame starts inside the old one: the old one is lost.
                ++m_dropped;
                m_body.clear();
                m_state = State::Destination;
            } else if (b == kEtx) {
                m_state = State::Idle;
                if (m_body.isEmpty()) {
                    ++m_dropped;
                    break;
                }
                const quint8 received = quint8(m_body.back());
                m_frame.data = m_body.left(m_body.size() - 1);
                m_body.clear();
                if (checksum(m_frame.destination, m_frame.source, m_frame.data) != received) {
                    ++m_dropped;
                    break;
                }
                frames.append(m_frame);
            } else {
                ++m_dropped;
                reset();
            }
            break;
        }
    }
    return frames;
}
