#pragma once

#include "platform/SerialPort.h"

#include <QPointer>

#include "sim/SimBus.h"

// A port on the in-process simulated bus (device path "sim"). What the
// program writes goes to the bus; what the bus's devices send arrives as
// received bytes. Both notifications come from the event loop, never from
// inside write(), as they would from a device.
class SimulatedPort : public SerialPort {
    Q_OBJECT
public:
    // A port on `bus`; without one, on the program's shared bus.
    explicit SimulatedPort(SimBus *bus = nullptr, QObject *parent = nullptr);
    ~SimulatedPort() override;

    // The bus every "sim" port of the process is attached to, created on
    // first use and owned by the application object.
    static SimBus *sharedBus();

    bool open(const QString &path) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString path() const override { return m_open ? m_path : QString(); }

    bool setBaudRate(int baud) override;
    bool setDataBits(int bits) override;
    bool setStopBits(int bits) override;
    bool setParity(Parity parity) override;
    Parity parity() const override { return m_parity; }
    bool setRts(bool on) override { m_rts = on; return true; }
    bool setDtr(bool on) override;
    bool rts() const override { return m_rts; }
    bool dtr() const override { return m_dtr; }

    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override { return m_rx.size(); }
    QByteArray read(qint64 maxBytes) override;
    QString errorString() const override { return m_error; }

    SimBus *bus() const { return m_bus; }

private:
    void onToPc(const QByteArray &bytes);

    QPointer<SimBus> m_bus;
    QString m_path;
    QString m_error;
    QByteArray m_rx;
    bool m_open = false;
    bool m_rts = false;
    bool m_dtr = false;
    bool m_txEmptyQueued = false;
    Parity m_parity = Parity::None;
};
