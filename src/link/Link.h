#pragma once

#include "link/FrameCodec.h"
#include "link/FrameReceiver.h"
#include "link/LinkSettings.h"
#include "link/LinkTrace.h"
#include "platform/SerialPort.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

class QEventLoop;

// The device link: the one link state of the program, its two ports (the
// system port to the CU bus and the receive-only proximity port), its timers,
// the frame sender and the request/answer exchange.
//
// The program creates one Link at start and keeps it for the whole run.
// Every wait (line free, answer, pause) runs a nested event loop until a flag
// set by a port notification or a timer ends it, so the user interface keeps
// running; while such a wait is under way a second exchange is refused (the
// link has one set of buffers), with exchangeRefused() and lastRefusal().
class Link : public QObject {
    Q_OBJECT
public:
    // Opens a port on a device path ("sim", "/dev/ttyUSB0", a pty). Tests
    // install their own to script a port.
    using PortFactory = std::function<std::unique_ptr<SerialPort>(const QString &path)>;

    enum class PortRole { System, Proximity };

    explicit Link(QObject *parent = nullptr);
    ~Link() override;

    // --- settings and ports ---------------------------------------------
    void setSettings(const LinkSettings &settings) { m_settings = settings; }
    const LinkSettings &settings() const { return m_settings; }
    LinkSettings &settings() { return m_settings; }
    void setPortFactory(PortFactory factory) { m_factory = std::move(factory); }
    std::unique_ptr<SerialPort> createPort(const QString &path, QString *error = nullptr) const;

    // Opens the system port on a port name ("COM2"; resolved through the
    // settings' port paths) or a device path. An open port is kept when it
    // is already on the same device. False with a message on failure.
    bool openSystemPort(const QString &portNameOrPath, QString *error = nullptr);
    bool openSystemPort(QString *error = nullptr) { return openSystemPort(m_settings.Sys_Port, error); }
    void closeSystemPort();
    bool openProximityPort(const QString &portNameOrPath, QString *error = nullptr);
    void closeProximityPort();
    SerialPort *systemPort() const { return m_system.get(); }
    SerialPort *proximityPort() const { return m_proximity.get(); }
    // Parity of the system port (kept for the next opening when closed).
    void setSystemParity(bool even);
    bool systemParityEven() const { return m_systemParityEven; }
    // Even when the setting Parity is "1", none otherwise.
    void setSystemParityFromSettings() { setSystemParity(m_settings.parityEven()); }

    // Back to the start state: timers stopped, receivers idle, no-answer-yet
    // set, raw mode off, modem result 255.
    void reset();

    // --- operations ------------------------------------------------------
    // Encodes `payload` into a frame to the frame destination and writes it
    // to the system port. False when the port is not open, the write failed
    // or the link is busy.
    bool Send_Frame(const QByteArray &payload);
    // Sends `payload` (at most 64 bytes, byte 0 the command code) to
    // `destination` and waits for the answer: mode 0 sends once without
    // waiting (twice to 0x80) and returns 1; mode 1 makes up to three
    // attempts; mode 2 or more one attempt. Returns the answer code, 0 when
    // no acceptable answer came.
    uint8_t Exchange(const QByteArray &payload, int mode, uint8_t destination);
    // Acknowledges the last answerer (0x06, mode 0).
    void Send_Ack();
    void Wait_Line_Free();
    void Pause_Ms(int milliseconds);
    void Set_Rts_For_Line();

    // One-shot answer time-out for the next exchange.
    void selectLongTimeout(int milliseconds) { m_longTimeoutMs = milliseconds; }
    int longTimeout() const { return m_longTimeoutMs; }

    // --- what the callers see after an exchange ------------------------
    uint8_t answerCode() const { return m_answerCode; }
    // Parameters after the answer code, then the checksum byte.
    const QByteArray &answer() const { return m_answer; }
    // The parameters alone.
    QByteArray answerParams() const { return m_answer.isEmpty() ? QByteArray() : m_answer.left(m_answer.size() - 1); }
    // Answer code + parameters + checksum.
    int answerCount() const { return m_answerCount; }
    uint8_t answerer() const { return m_answerer; }

    // --- link state --------------------------------------------------------
    bool answerReceived() const { return m_answerReceived; }
    void clearAnswerReceived() { m_answerReceived = false; }
    bool noAnswerYet() const { return m_noAnswerYet; }
    void setNoAnswerYet(bool on) { m_noAnswerYet = on; }
    bool transmitting() const { return m_transmitting; }
    int receiveState() const { return m_systemReceiver.state(); }
    uint8_t frameDestination() const { return m_frameDestination; }

    uint8_t currentCu() const { return m_currentCu; }
    void setCurrentCu(uint8_t cu) { m_currentCu = cu; }

    bool rawMode() const { return m_rawMode; }
    void setRawMode(bool on);
    // Bytes collected in raw mode (the answer buffer), and their count.
    const QByteArray &rawData() const { return m_raw; }
    void clearRaw() { m_raw.clear(); }

    // 255 no modem link (direct line); 4 while dialling; else the modem's result.
    uint8_t modemResult() const { return m_modemResult; }
    void setModemResult(uint8_t result) { m_modemResult = result; }
    bool modemLinkUp() const { return m_modemResult != 0 && m_modemResult != 255; }
    bool modemConnection() const { return m_modemConnection; }
    void setModemConnection(bool on) { m_modemConnection = on; }

    bool downloading() const { return m_downloading; }
    void setDownloading(bool on) { m_downloading = on; }
    bool incidencePending() const { return m_incidencePending; }
    void clearIncidencePending() { m_incidencePending = false; }

    // Set when a login is refused or a wait must end; loops that poll the
    // CU stop when it is set.
    bool stopFlag() const { return m_stop; }
    void setStopFlag(bool on);

    // --- counters, trace, busy guard ---------------------------------------
    quint64 framesSent() const { return m_framesSent; }
    quint64 framesReceived() const { return m_framesReceived; }
    void addFramesSent(int n = 1);
    void addFramesReceived(int n = 1);
    void resetCounters();

    LinkTrace &trace() { return m_trace; }

    // A wait of the link is under way.
    bool busy() const { return m_waitDepth > 0; }
    QString lastRefusal() const { return m_lastRefusal; }
    // Why the last Send_Frame or Exchange failed without an answer being
    // the reason ("system port not open", a write error); empty otherwise.
    QString lastError() const { return m_lastError; }

    // Writes raw bytes (modem commands) to the system port, logging a
    // "Send" line, and waits for the transmit-empty notification, the stop
    // flag or one frame time-out. False when the write failed or the link is busy.
    bool sendRaw(const QByteArray &bytes);
    // Waits with the user interface running until `done` holds or `ms` pass
    // (ms < 0: no limit). True when `done` held. Refused (false) when busy.
    bool waitUntil(const std::function<bool()> &done, int ms);
    // Has the running waits look at their conditions again (for a port of
    // its own whose bytes may end a waitUntil).
    void wake();

    // One line of the modem log: "Send" or "Receiv", three spaces, then each
    // printable byte followed by a space, others as "$hh ".
    static QString modemLogLine(const QString &word, const QByteArray &bytes);
    const QStringList &modemLog() const { return m_modemLog; }
    void clearModemLog() { m_modemLog.clear(); }

signals:
    void countersChanged();
    // An incidence frame ('H') arrived while not downloading.
    void incidenceArrived();
    // A frame from the proximity port: source, answer code, parameters.
    void proximityFrame(uint8_t source, uint8_t code, const QByteArray &params);
    void modemLogAdded(const QString &line);
    void exchangeRefused(const QString &why);

private:
    bool refuseWhenBusy(const char *what);
    bool sendFrameNow(const QByteArray &payload);
    void waitLineFree();
    bool waitFor(const std::function<bool()> &done);
    void startFrameTimer(int ms);
    void stopFrameTimer();
    int graceDelay(uint8_t command) const;

    void onReadyRead(PortRole role);
    void onTransmitEmpty();
    void processChunk(PortRole role);
    void acceptFrame(PortRole role, const FrameReceiver &receiver);
    void addModemLog(const QString &line);
    std::unique_ptr<SerialPort> openPort(const QString &portNameOrPath, PortRole role, QString *error);

    LinkSettings m_settings;
    PortFactory m_factory;
    std::unique_ptr<SerialPort> m_system;
    std::unique_ptr<SerialPort> m_proximity;
    bool m_systemParityEven = false;

    FrameReceiver m_systemReceiver;
    FrameReceiver m_proximityReceiver;
    QElapsedTimer m_systemLastByte;
    QElapsedTimer m_proximityLastByte;
    QTimer m_systemByteTimer;
    QTimer m_proximityByteTimer;
    QTimer m_frameTimer;   // Timer_trama
    QTimer m_pauseTimer;   // Timer2
    bool m_frameTimerRunning = false;
    bool m_pauseElapsed = false;
    bool m_systemDrainQueued = false;
    bool m_proximityDrainQueued = false;

    uint8_t m_frameDestination = 0;
    uint8_t m_answerCode = 0;
    uint8_t m_answerer = 0;
    QByteArray m_answer;
    int m_answerCount = 0;
    QByteArray m_raw;
    bool m_answerReceived = false;
    bool m_noAnswerYet = true;
    bool m_transmitting = false;
    uint8_t m_currentCu = FrameCodec::kAllCus;
    int m_longTimeoutMs = 0;
    bool m_rawMode = false;
    uint8_t m_modemResult = 255;
    bool m_modemConnection = false;
    bool m_downloading = false;
    bool m_incidencePending = false;
    bool m_stop = false;

    quint64 m_framesSent = 0;
    quint64 m_framesReceived = 0;
    LinkTrace m_trace;
    QStringList m_modemLog;

    int m_waitDepth = 0;
    QList<QEventLoop *> m_loops;
    QString m_lastRefusal;
    QString m_lastError;
};
