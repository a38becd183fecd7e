#pragma once

#include "link/FrameCodec.h"

#include <QByteArray>

#include <cstdint>

// The receive state machine of one port. Bytes are fed one at a time; the
// machine reports a frame that ended with a good checksum and was addressed
// to `ownAddress`. Anything else is dropped silently and the machine waits
// for the next DLE STX.
//
//   state 0 idle:        DLE -> 1
//   state 1 DLE seen:    STX -> 2 (new frame), other -> 0
//   state 2 destination: own address -> 3, other -> 0
//   state 3 source:      any -> 4 (taken as it is)
//   state 4 data:        DLE -> 7, other stored
//   state 7 DLE in data: DLE stored once -> 4, STX new frame -> 2,
//                        ETX end of frame -> 0, other dropped -> 0
class FrameReceiver {
public:
    enum State : uint8_t { Idle = 0, DleSeen = 1, Destination = 2, Source = 3, Data = 4, DleInData = 7 };
    enum class Event { None, Accepted, Dropped };
    enum class Drop { None, BadChecksum, BadEscape, Oversize, TooShort, Gap };

    explicit FrameReceiver(uint8_t ownAddress = FrameCodec::kPcAddress,
                           int capacity = FrameCodec::kReceiveCapacity);

    Event feed(uint8_t byte);
    // Abandons a frame in progress (the byte gap elapsed).
    void timeOut();
    void reset();

    State state() const { return m_state; }
    bool idle() const { return m_state == Idle; }

    // The last accepted frame: source and data bytes (code, parameters, checksum).
    uint8_t source() const { return m_source; }
    const QByteArray &data() const { return m_data; }
    // The bytes of the last accepted frame as they were received (for the trace).
    const QByteArray &raw() const { return m_raw; }
    Drop lastDrop() const { return m_lastDrop; }

private:
    Event drop(Drop why);
    Event endOfFrame();
    void store(uint8_t byte);

    uint8_t m_own;
    int m_capacity;
    State m_state = Idle;
    uint8_t m_checksum = 0;
    uint8_t m_source = 0;
    bool m_escapedLast = false;
    bool m_overflow = false;
    QByteArray m_data;
    QByteArray m_raw;
    Drop m_lastDrop = Drop::None;
};
