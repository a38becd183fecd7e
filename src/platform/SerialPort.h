#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

// A serial port as the device link sees it: open by device path, line
// settings, the two modem-control lines, unbuffered reads and whole-buffer
// writes. Both notifications are delivered on the thread that owns the port
// (the user-interface thread).
//
// Implementations: QSerialPortPort (devices and pseudo-terminals) and
// SimulatedPort (the in-process simulated bus, path "sim").
class SerialPort : public QObject {
    Q_OBJECT
public:
    enum class Parity { None, Even };

    using QObject::QObject;
    ~SerialPort() override = default;

    // Opens the device at `path`. On failure returns false and errorString()
    // says why; the port stays closed.
    virtual bool open(const QString &path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString path() const = 0;

    // Line settings; each returns false (recorded in failures()) when the
    // device refuses the setting. Parity may be changed while open.
    virtual bool setBaudRate(int baud) = 0;
    virtual bool setDataBits(int bits) = 0;
    virtual bool setStopBits(int bits) = 0;
    virtual bool setParity(Parity parity) = 0;
    virtual Parity parity() const = 0;
    virtual bool setRts(bool on) = 0;
    virtual bool setDtr(bool on) = 0;
    virtual bool rts() const = 0;
    virtual bool dtr() const = 0;

    // Writes the whole buffer; false when the port is closed or the write failed.
    virtual bool write(const QByteArray &bytes) = 0;
    virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray read(qint64 maxBytes) = 0;

    virtual QString errorString() const = 0;

    // Settings the device refused (RTS, DTR or parity on a pseudo-terminal);
    // the port carries on without them.
    QStringList failures() const { return m_failures; }
    void clearFailures() { m_failures.clear(); }

signals:
    // Received bytes are waiting.
    void readyRead();
    // Everything written has left the transmit buffer.
    void transmitEmpty();

protected:
    void recordFailure(const QString &what) { m_failures.append(what); }

private:
    QStringList m_failures;
};
