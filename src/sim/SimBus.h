#pragma once

#include <QByteArray>
#include <QObject>
#include <QVector>

#include <array>
#include <memory>

#include "sim/SimFrame.h"

class SimCentralUnit;
class SimEnrolmentReader;
class SimModem;

// The simulated BRX bus: what sits at the other end of the PC's serial line.
// Up to 64 central units (addresses 0..63), the proximity enrolment reader
// (address 0x82) and, optionally, a Hayes modem in front of the bus.
//
// Bytes the PC writes go in through fromPc(); bytes the devices send come out
// through toPc(). Answers are never emitted synchronously inside fromPc():
// they leave from the event loop after the answering unit's delay, the way a
// real line gives the PC time to turn around.
class SimBus : public QObject {
    Q_OBJECT
public:
    explicit SimBus(QObject *parent = nullptr);
    ~SimBus() override;

    // Bytes the PC wrote on the line. Answers are emitted later from the event
    // loop (never synchronously inside this call), after the unit's answer delay.
    void fromPc(const QByteArray &bytes);

    // What the PC's port is set to (units may be configured to need one).
    void setLineParity(bool even);
    bool lineParityEven() const { return m_parityEven; }

    SimCentralUnit *addUnit(int address); // 0..63; returns the unit for configuration
    SimCentralUnit *unit(int address) const;
    void removeUnit(int address);
    QVector<int> unitAddresses() const;

    SimEnrolmentReader *enrolmentReader(); // address 0x82

    SimModem *modem();
    // When attached, the PC talks AT to the modem until it is connected; the
    // devices' frames then travel through it (and end without a second ETX).
    void setModemAttached(bool attached);
    bool modemAttached() const { return m_modemAttached; }

    qint64 bytesFromPc() const { return m_bytesFromPc; }
    qint64 bytesToPc() const { return m_bytesToPc; }
    qint64 framesFromPc() const { return m_framesFromPc; }       // well-formed frames decoded
    qint64 badFramesFromPc() const { return m_badFramesFromPc; } // dropped: checksum or framing

    // Whether device frames end with the second ETX: true on a direct line,
    // false while a modem link carries the frames.
    bool secondEtx() const;

    // Used by the devices: put a frame or raw bytes on the line towards the PC
    // after delayMs (0 = at the next turn of the event loop). Output leaves in
    // the order it was scheduled for equal due times. While a modem is
    // attached but has no call up, the devices cannot reach the PC: dropped.
    void sendToPc(const QByteArray &bytes, int delayMs = 0);

signals:
    void toPc(const QByteArray &bytes); // bytes the devices send to the PC

    // A well-formed frame from the PC (after decoding); for tests and traces.
    void frameFromPc(const SimFrame &frame);

private:
    void handleFrame(const SimFrame &frame);
    void emitNow(const QByteArray &bytes);
    void modemSend(const QByteArray &bytes, int delayMs = 0); // the modem's own answers

    std::array<SimCentralUnit *, 64> m_units{};
    SimEnrolmentReader *m_reader = nullptr;
    SimModem *m_modem = nullptr;
    SimFrameDecoder m_decoder;
    bool m_parityEven = false;
    bool m_modemAttached = false;
    qint64 m_bytesFromPc = 0;
    qint64 m_bytesToPc = 0;
    qint64 m_framesFromPc = 0;
    qint64 m_badFramesFromPc = 0;

    friend class SimModem;
};
