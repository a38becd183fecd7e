#pragma once

#include "platform/SerialPort.h"

#include <QSerialPort>

// A serial device or pseudo-terminal through QSerialPort: 9600 baud, 8 data
// bits, 2 stop bits, parity none or even, no flow control. RTS, DTR and parity
// changes that the device refuses (a pseudo-terminal refuses them) are
// recorded and tolerated.
class QSerialPortPort : public SerialPort {
    Q_OBJECT
public:
    explicit QSerialPortPort(QObject *parent = nullptr);
    ~QSerialPortPort() override;

    bool open(const QString &path) override;
    void close() override;
    bool isOpen() const override;
    QString path() const override { return m_path; }

    bool setBaudRate(int baud) override;
    bool setDataBits(int bits) override;
    bool setStopBits(int bits) override;
    bool setParity(Parity parity) override;
    Parity parity() const override { return m_parity; }
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    bool rts() const override { return m_rts; }
    bool dtr() const override { return m_dtr; }

    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override;
    QByteArray read(qint64 maxBytes) override;
    QString errorString() const override;

private:
    void onBytesWritten();

    QSerialPort m_port;
    QString m_path;
    QString m_error;
    Parity m_parity = Parity::None;
    bool m_rts = false;
    bool m_dtr = false;
};
