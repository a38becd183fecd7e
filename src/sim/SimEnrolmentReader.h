#pragma once

#include <QByteArray>
#include <QObject>

#include "sim/SimFrame.h"

class QTimer;
class SimBus;

// The proximity enrolment reader: sends a frame from address 0x82 to the PC,
// answer code 0x1C and six card bytes, whenever a card is presented.
class SimEnrolmentReader : public QObject {
    Q_OBJECT
public:
    explicit SimEnrolmentReader(SimBus *bus);

    // The six bytes laid out as bytes 20..25 of a user record: for a card,
    // 0x00 then the five bytes of the ten-digit number.
    void present(const QByteArray &cardBytes);
    // A ten hexadecimal digit card number ("00A1B2C3D4").
    void presentCard(const QString &tenHexDigits);
    // Any other frame from the reader (e.g. data {0x01}).
    void sendFrame(const QByteArray &data);

    // When above 0, a card frame is sent again every ms until the PC
    // acknowledges it with 0x06 (default 0: sent once).
    void setRepeatInterval(int ms) { m_repeatMs = ms; }
    int framesSent() const { return m_framesSent; }
    int acksReceived() const { return m_acks; }

    void handleFrame(const SimFrame &frame); // frames to 0x82

private:
    void sendLast();
    SimBus *m_bus;
    QTimer *m_repeat;
    QByteArray m_last;
    int m_repeatMs = 0;
    int m_framesSent = 0;
    int m_acks = 0;
};
