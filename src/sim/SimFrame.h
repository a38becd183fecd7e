#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// One DLE-framed packet on the BRX line, as the devices see it.
//
// On the wire: DLE STX, destination, source, data..., checksum, DLE ETX, and
// on a direct line one more ETX. Data and checksum bytes equal to DLE (0x10)
// are sent doubled; the destination and source bytes are sent as they are,
// never doubled. The checksum is the XOR of destination, source and every
// data byte other than 0x10 (bytes 0x10 do not enter it at all).
struct SimFrame {
    quint8 destination = 0;
    quint8 source = 0;
    QByteArray data; // command or answer code first, then its parameters

    quint8 code() const { return data.isEmpty() ? 0 : quint8(data.at(0)); }
    QByteArray params() const { return data.mid(1); }
};

namespace SimFrameCodec {
constexpr quint8 kDle = 0x10;
constexpr quint8 kStx = 0x02;
constexpr quint8 kEtx = 0x03;
constexpr quint8 kPcAddress = 0x81;
constexpr quint8 kAllUnits = 0x80;
constexpr quint8 kReaderAddress = 0x82;
constexpr int kMaxData = 516; // longest data part (checksum included) a frame may carry

quint8 checksum(quint8 destination, quint8 source, const QByteArray &data);

// The frame's bytes. corruptChecksum sends a checksum that is wrong (for
// fault injection); secondEtx adds the extra ETX of a direct line.
QByteArray encode(quint8 destination, quint8 source, const QByteArray &data, bool secondEtx,
                  bool corruptChecksum = false);
} // namespace SimFrameCodec

// Receiving side of a device: turns the bytes on the line into frames. Every
// frame is delivered whatever its destination (each device decides whether
// it is meant); frames with a wrong checksum, an unexpected byte after a DLE
// or too much data are dropped and counted. A DLE STX inside a frame starts
// a new frame.
class SimFrameDecoder {
public:
    QVector<SimFrame> feed(const QByteArray &bytes);
    void reset();
    qint64 droppedFrames() const { return m_dropped; }
    bool inFrame() const { return m_state != State::Idle; }

private:
    enum class State { Idle, Dle, Destination, Source, Data, DataDle };
    State m_state = State::Idle;
    SimFrame m_frame;
    QByteArray m_body; // data bytes plus the checksum byte, DLEs undoubled
    qint64 m_dropped = 0;
};
