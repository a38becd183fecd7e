#pragma once

#include "link/FrameCodec.h"
#include "platform/SerialPort.h"

#include <QList>
#include <QTimer>

#include <functional>

// A port whose far side is a script: every write is kept, and the script
// answers by scheduling bytes to arrive after a delay. Notifications come
// from the event loop as from a device.
class ScriptedPort : public SerialPort {
public:
    std::function<void(ScriptedPort &, const QByteArray &)> onWrite;
    QList<QByteArray> writes;
    QList<int> readSizes;

    bool open(const QString &path) override { m_open = true; m_path = path; return true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    QString path() const override { return m_path; }
    bool setBaudRate(int) override { return true; }
    bool setDataBits(int) override { return true; }
    bool setStopBits(int) override { return true; }
    bool setParity(Parity p) override { m_parity = p; return true; }
    Parity parity() const override { return m_parity; }
    bool setRts(bool on) override { m_rts = on; return true; }
    bool setDtr(bool on) override { m_dtr = on; return true; }
    bool rts() const override { return m_rts; }
    bool dtr() const override { return m_dtr; }
    bool write(const QByteArray &bytes) override
    {
        if (!m_open)
            return false;
        writes.append(bytes);
        QTimer::singleShot(0, this, [this] { emit transmitEmpty(); });
        if (onWrite)
            onWrite(*this, bytes);
        return true;
    }
    qint64 bytesAvailable() const override { return m_rx.size(); }
    QByteArray read(qint64 max) override
    {
        const QByteArray chunk = m_rx.left(max);
        m_rx.remove(0, chunk.size());
        readSizes.append(int(chunk.size()));
        return chunk;
    }
    QString errorString() const override { return {}; }

    // Bytes that arrive after `delayMs`.
    void deliver(const QByteArray &bytes, int delayMs = 0)
    {
        QTimer::singleShot(delayMs, Qt::PreciseTimer, this, [this, bytes] {
            m_rx.append(bytes);
            emit readyRead();
        });
    }
    // A frame from `source` to the PC on a direct line.
    static QByteArray answer(uint8_t source, const QByteArray &data)
    {
        return FrameCodec::encode(FrameCodec::kPcAddress, source, data, true);
    }
    // The payload of a frame the PC wrote (no DLE doubling in the tests' payloads).
    static QByteArray payloadOf(const QByteArray &frame)
    {
        // DLE STX dst src data... cs DLE ETX [ETX]
        QByteArray body = frame.mid(4);
        while (!body.isEmpty() && uint8_t(body.back()) == FrameCodec::ETX)
            body.chop(1);
        body.chop(1); // DLE
        body.chop(1); // checksum
        return body.replace(QByteArray("\x10\x10", 2), QByteArray("\x10", 1));
    }

private:
    bool m_open = false;
    bool m_rts = false;
    bool m_dtr = false;
    QString m_path;
    QByteArray m_rx;
    Parity m_parity = Parity::None;
};
