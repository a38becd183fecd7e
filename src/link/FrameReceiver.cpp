#include "link/FrameReceiver.h"

using namespace FrameCodec;

FrameReceiver::FrameReceiver(uint8_t ownAddress, int capacity) : m_own(ownAddress), m_capacity(capacity)
{
    m_data.reserve(capacity);
    m_raw.reserve(capacity * 2 + 8);
}

void FrameReceiver::reset()
{
    m_state = Idle;
    m_overflow = false;
}

void FrameReceiver::timeOut()
{
    if (m_state != Idle)
        m_lastDrop = Drop::Gap;
    reset();
}

FrameReceiver::Event FrameReceiver::drop(Drop why)
{
    m_lastDrop = why;
    reset();
    return Event::Dropped;
}

void FrameReceiver::store(uint8_t byte)
{
    if (m_data.size() >= m_capacity) {
        m_overflow = true;
        return;
    }
    m_data.append(char(byte));
}

FrameReceiver::Event FrameReceiver::feed(uint8_t byte)
{
    if (m_state != Idle)
        m_raw.append(char(byte));
    switch (m_state) {
    case Idle:
        if (byte == DLE) {
            m_raw.clear();
            m_raw.append(char(byte));
            m_state = DleSeen;
        }
        return Event::None;
    case DleSeen:
        if (byte == STX) {
            m_data.clear();
            m_overflow = false;
            m_state = Destination;
        } else {
            m_state = Idle;
        }
        return Event::None;
    case Destination:
        if (byte == m_own) {
            m_checksum = byte;
            m_state = Source;
        } else {
            m_state = Idle;
        }
        return Event::None;
    case Source:
        m_source = byte;
        m_checksum ^= byte;
        m_state = Data;
        return Event::None;
    case Data:
        if (byte == DLE) {
            m_state = DleInData;
        } else {
            store(byte);
            m_checksum ^= byte;
            m_escapedLast = false;
            // A frame longer than the buffer is dropped at once.
            if (m_overflow)
                return drop(Drop::Oversize);
        }
        return Event::None;
    case DleInData:
        if (byte == DLE) {
            store(DLE);
            m_escapedLast = true;
            m_state = Data;
            if (m_overflow)
                return drop(Drop::Oversize);
            return Event::None;
        }
        if (byte == STX) {
            // DLE STX inside a frame: reception starts again at the destination.
            m_raw = QByteArray::fromRawData("\x10\x02", 2);
            m_raw.detach();
            m_data.clear();
            m_overflow = false;
            m_state = Destination;
            return Event::None;
        }
        if (byte == ETX)
            return endOfFrame();
        return drop(Drop::BadEscape);
    }
    m_state = Idle;
    return Event::None;
}

FrameReceiver::Event FrameReceiver::endOfFrame()
{
    m_state = Idle;
    uint8_t sum = m_checksum;
    // A checksum byte sent doubled was not XORed in; account for it.
    if (m_escapedLast)
        sum ^= DLE;
    if (sum != 0)
        return drop(Drop::BadChecksum);
    // A frame needs at least its code and its checksum byte.
    if (m_data.size() < 2)
        return drop(Drop::TooShort);
    m_lastDrop = Drop::None;
    return Event::Accepted;
}
