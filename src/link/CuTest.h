#pragma once

#include "link/CuCommands.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <memory>

// Collects the frames of the test windows from raw bytes: from the first
// DLE, realigned on DLE STX, complete at DLE ETX. The address bytes are read
// as they are (never doubled, as everywhere on the link); the checksum is
// not verified.
class TestFrameCollector {
public:
    explicit TestFrameCollector(uint8_t ownAddress) : m_own(ownAddress) {}

    struct Frame {
        uint8_t destination = 0;
        uint8_t source = 0;
        uint8_t code = 0;
        QByteArray raw;
    };
    // Feeds bytes; returns the frames completed, addressed to the own address
    // or to all CUs (0x80).
    QList<Frame> feed(const QByteArray &bytes);
    void clear();

private:
    uint8_t m_own;
    QByteArray m_bytes;
};

// The CU test: a test frame with the single data byte 0x01 to a CU on a port
// of its own (the system port name, 9600 baud, 2 stop bits, parity of the
// setting), three attempts of 500 ms. A CU that answers is marked detected
// whatever its answer code; 0x06 means all is well.
class CuTest {
public:
    struct Result {
        int cu = 0;
        bool answered = false;
        uint8_t code = 0;
    };

    CuTest(Link &link, CuCommands &commands);

    // Opens the test port on the settings' system port; false with a message.
    bool open(QString *error = nullptr);
    void close();
    Result testCu(int cu);
    // Tests each CU in order, until the stop flag is set.
    QList<Result> testCus(const QList<int> &cus);
    void stop() { m_stop = true; }

    // The test frame to `cu`.
    static QByteArray frame(int cu);

private:
    Link &m_link;
    CuCommands &m_commands;
    std::unique_ptr<SerialPort> m_port;
    TestFrameCollector m_collector{FrameCodec::kPcAddress};
    QList<TestFrameCollector::Frame> m_frames;
    bool m_stop = false;
};
