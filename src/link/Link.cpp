#include "link/Link.h"

#include "platform/SerialPortFactory.h"

#include <QCoreApplication>
#include <QEventLoop>

using namespace FrameCodec;

namespace {
constexpr int kChunk = 128;        // bytes taken per receive notification
constexpr int kPauseAtRest = 150;  // Timer2's interval when no pause runs
} // namespace

Link::Link(QObject *parent) : QObject(parent)
{
    m_factory = [](const QString &path) { return SerialPortFactory::create(path); };
    for (QTimer *t : {&m_systemByteTimer, &m_proximityByteTimer, &m_frameTimer, &m_pauseTimer}) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
    }
    m_pauseTimer.setInterval(kPauseAtRest);
    connect(&m_frameTimer, &QTimer::timeout, this, [this] {
        m_frameTimerRunning = false;
        wake();
    });
    connect(&m_pauseTimer, &QTimer::timeout, this, [this] {
        m_pauseElapsed = true;
        wake();
    });
    connect(&m_systemByteTimer, &QTimer::timeout, this, [this] {
        m_systemReceiver.timeOut();
        wake();
    });
    connect(&m_proximityByteTimer, &QTimer::timeout, this, [this] { m_proximityReceiver.timeOut(); });
    m_answer.reserve(kReceiveCapacity);
    m_raw.reserve(kReceiveCapacity);
    reset();
}

Link::~Link()
{
    // Wake any wait still running so that nothing refers to this object.
    for (QEventLoop *loop : std::as_const(m_loops))
        loop->quit();
}

void Link::reset()
{
    m_pauseTimer.stop();
    m_frameTimer.stop();
    m_frameTimerRunning = false;
    m_systemReceiver.reset();
    m_proximityReceiver.reset();
    m_transmitting = false;
    m_noAnswerYet = true;
    m_answerReceived = false;
    m_rawMode = false;
    m_modemResult = 255;
    m_longTimeoutMs = 0;
}

// --- ports --------------------------------------------------------------------

std::unique_ptr<SerialPort> Link::createPort(const QString &path, QString *error) const
{
    std::unique_ptr<SerialPort> port = m_factory ? m_factory(path) : nullptr;
    if (!port && error)
        *error = QStringLiteral("%1: no such port").arg(path);
    return port;
}

std::unique_ptr<SerialPort> Link::openPort(const QString &portNameOrPath, PortRole role, QString *error)
{
    const QString path = m_settings.devicePath(portNameOrPath);
    std::unique_ptr<SerialPort> port = createPort(path, error);
    if (!port)
        return nullptr;
    port->setParity(role == PortRole::System && m_systemParityEven ? SerialPort::Parity::Even : SerialPort::Parity::None);
    if (!port->open(path)) {
        if (error)
            *error = port->errorString();
        return nullptr;
    }
    port->setBaudRate(9600);
    port->setDataBits(8);
    port->setStopBits(2);
    port->setDtr(true);
    connect(port.get(), &SerialPort::readyRead, this, [this, role] { onReadyRead(role); });
    connect(port.get(), &SerialPort::transmitEmpty, this, &Link::onTransmitEmpty);
    return port;
}

bool Link::openSystemPort(const QString &portNameOrPath, QString *error)
{
    const QString path = m_settings.devicePath(portNameOrPath);
    if (m_system && m_system->isOpen() && m_system->path() == path)
        return true;
    closeSystemPort();
    m_system = openPort(portNameOrPath, PortRole::System, error);
    if (!m_system)
        return false;
    m_systemReceiver.reset();
    Set_Rts_For_Line();
    return true;
}

void Link::closeSystemPort()
{
    if (!m_system)
        return;
    m_system->disconnect(this);
    m_system->close();
    // The port object may still have notifications queued; let it go later.
    m_system.release()->deleteLater();
    m_systemReceiver.reset();
    m_transmitting = false;
    wake();
}

bool Link::openProximityPort(const QString &portNameOrPath, QString *error)
{
    closeProximityPort();
    m_proximity = openPort(portNameOrPath, PortRole::Proximity, error);
    m_proximityReceiver.reset();
    return m_proximity != nullptr;
}

void Link::closeProximityPort()
{
    if (!m_proximity)
        return;
    m_proximity->disconnect(this);
    m_proximity->close();
    m_proximity.release()->deleteLater();
    m_proximityReceiver.reset();
}

void Link::setSystemParity(bool even)
{
    m_systemParityEven = even;
    if (m_system)
        m_system->setParity(even ? SerialPort::Parity::Even : SerialPort::Parity::None);
}

// --- waits ----------------------------------------------------------------------

void Link::wake()
{
    for (QEventLoop *loop : std::as_const(m_loops))
        loop->quit();
}

bool Link::waitFor(const std::function<bool()> &done)
{
    if (done())
        return true;
    QEventLoop loop;
    m_loops.append(&loop);
    ++m_waitDepth;
    while (!done())
        loop.exec();
    --m_waitDepth;
    m_loops.removeOne(&loop);
    return true;
}

bool Link::waitUntil(const std::function<bool()> &done, int ms)
{
    if (refuseWhenBusy("wait"))
        return false;
    QTimer limit;
    bool expired = false;
    if (ms >= 0) {
        limit.setSingleShot(true);
        limit.setTimerType(Qt::PreciseTimer);
        connect(&limit, &QTimer::timeout, this, [&] {
            expired = true;
            wake();
        });
        limit.start(ms);
    }
    bool result = false;
    waitFor([&] { return (result = done()) || expired; });
    return result;
}

bool Link::refuseWhenBusy(const char *what)
{
    if (m_waitDepth == 0)
        return false;
    m_lastRefusal = QStringLiteral("The link is busy with another exchange; the %1 was not started.").arg(QLatin1String(what));
    emit exchangeRefused(m_lastRefusal);
    return true;
}

void Link::startFrameTimer(int ms)
{
    m_frameTimerRunning = true;
    m_frameTimer.start(std::max(ms, 1));
}

void Link::stopFrameTimer() { m_frameTimer.stop(); }

void Link::Wait_Line_Free()
{
    if (refuseWhenBusy("wait for the line"))
        return;
    waitLineFree();
}

void Link::waitLineFree()
{
    auto lineFree = [this] { return !m_transmitting && m_systemReceiver.idle(); };
    if (lineFree())
        return;
    startFrameTimer(m_settings.Vel_Trama);
    waitFor([&] { return lineFree() || !m_frameTimerRunning; });
    const bool expired = !m_frameTimerRunning;
    stopFrameTimer();
    m_frameTimerRunning = false;
    if (expired) {
        m_transmitting = false;
        m_systemReceiver.reset();
    }
}

void Link::Pause_Ms(int milliseconds)
{
    if (refuseWhenBusy("pause"))
        return;
    m_pauseTimer.stop();
    m_pauseElapsed = false;
    m_pauseTimer.start(std::max(milliseconds, 0));
    waitFor([this] { return m_pauseElapsed; });
    m_pauseTimer.stop();
    m_pauseTimer.setInterval(kPauseAtRest);
    m_pauseElapsed = false;
}

void Link::Set_Rts_For_Line()
{
    if (m_system && m_system->isOpen())
        m_system->setRts(modemLinkUp() || m_rawMode);
}

void Link::setRawMode(bool on)
{
    m_rawMode = on;
    if (on) {
        m_raw.clear();
        m_systemReceiver.reset();
    }
}

void Link::setStopFlag(bool on)
{
    m_stop = on;
    if (on)
        wake();
}

// --- sending ----------------------------------------------------------------------

bool Link::Send_Frame(const QByteArray &payload)
{
    if (refuseWhenBusy("frame"))
        return false;
    return sendFrameNow(payload);
}

bool Link::sendFrameNow(const QByteArray &payload)
{
    m_lastError.clear();
    if (payload.isEmpty() || payload.size() > kMaxPayload) {
        m_lastError = QStringLiteral("A command payload holds 1 to %1 bytes, not %2.").arg(kMaxPayload).arg(payload.size());
        return false;
    }
    if (!m_system || !m_system->isOpen()) {
        m_lastError = QStringLiteral("The system port is not open.");
        return false;
    }
    waitLineFree();

    m_transmitting = true;
    m_system->setRts(true);
    const QByteArray frame = encode(m_frameDestination, kPcAddress, payload, m_modemResult == 255);
    if (!m_system->write(frame)) {
        m_transmitting = false;
        m_lastError = QStringLiteral("Write to %1 failed: %2").arg(m_system->path(), m_system->errorString());
        Set_Rts_For_Line();
        return false;
    }
    addFramesSent();
    m_trace.record(LinkTrace::Direction::Sent, m_frameDestination, kPcAddress, uint8_t(payload[0]), frame);

    if (m_transmitting) {
        startFrameTimer(m_settings.Vel_Trama);
        waitFor([this] { return !m_transmitting || !m_frameTimerRunning; });
        const bool expired = !m_frameTimerRunning;
        stopFrameTimer();
        m_frameTimerRunning = false;
        if (expired)
            m_transmitting = false;
    }
    m_noAnswerYet = true;
    return true;
}

int Link::graceDelay(uint8_t command) const
{
    const int modem = m_modemConnection ? m_settings.Off_By_MODEM : 0;
    if (command == '0')
        return m_settings.Off_By_Insert_User + modem;
    if (command == 'b')
        return m_settings.Off_By_update_User + modem;
    return 1;
}

uint8_t Link::Exchange(const QByteArray &payload, int mode, uint8_t destination)
{
    if (refuseWhenBusy("exchange"))
        return 0;
    m_frameDestination = destination;
    m_noAnswerYet = false;
    const int attempts = mode == 1 ? 3 : 1;
    auto acceptable = [&] { return m_answerer == destination || destination == kAllCus; };

    for (int attempt = 0; attempt < attempts; ++attempt) {
        m_answerReceived = false;
        if (!sendFrameNow(payload))
            break; // port closed or write failed: no use trying again
        if (mode == 0) {
            m_longTimeoutMs = 0;
            if (destination == kAllCus)
                sendFrameNow(payload);
            return 1;
        }
        startFrameTimer(m_longTimeoutMs > 0 ? m_longTimeoutMs : m_settings.Vel_Trama);
        // An answer from another address (an incidence of another CU) is
        // discarded and the wait goes on: resending a request the
        // destination may already be answering could repeat its effect.
        auto answered = [&] {
            if (m_answerReceived && !acceptable())
                m_answerReceived = false;
            return m_answerReceived;
        };
        waitFor([&] { return answered() || !m_frameTimerRunning; });
        const bool expired = !m_frameTimerRunning;
        stopFrameTimer();
        m_frameTimerRunning = false;
        if (expired && !m_answerReceived) {
            // Grace delay of the command: a late answer is still taken.
            m_pauseTimer.stop();
            m_pauseElapsed = false;
            m_pauseTimer.start(graceDelay(uint8_t(payload[0])));
            waitFor([&] { return m_pauseElapsed || answered(); });
            m_pauseTimer.stop();
            m_pauseTimer.setInterval(kPauseAtRest);
            m_pauseElapsed = false;
            ++m_waitDepth;
            QCoreApplication::processEvents();
            --m_waitDepth;
            answered();
        }
        if (m_answerReceived) {
            m_longTimeoutMs = 0;
            m_answerReceived = false;
            return m_answerCode;
        }
    }
    m_noAnswerYet = true;
    m_longTimeoutMs = 0;
    Set_Rts_For_Line();
    return 0;
}

void Link::Send_Ack()
{
    Exchange(QByteArray(1, char(0x06)), 0, m_answerer);
}

bool Link::sendRaw(const QByteArray &bytes)
{
    if (refuseWhenBusy("modem command"))
        return false;
    if (!m_system || !m_system->isOpen()) {
        m_lastError = QStringLiteral("The system port is not open.");
        return false;
    }
    waitLineFree();
    m_raw.clear();
    m_transmitting = true;
    m_system->setRts(true);
    addModemLog(modemLogLine(QStringLiteral("Send"), bytes));
    if (!m_system->write(bytes)) {
        m_transmitting = false;
        m_lastError = QStringLiteral("Write to %1 failed: %2").arg(m_system->path(), m_system->errorString());
        return false;
    }
    m_stop = false;
    // Bounded by one frame time-out: a transmit-empty notification that
    // never comes must not hold the program.
    startFrameTimer(m_settings.Vel_Trama);
    waitFor([this] { return !m_transmitting || m_stop || !m_frameTimerRunning; });
    stopFrameTimer();
    m_frameTimerRunning = false;
    m_transmitting = false;
    return true;
}

// --- receiving --------------------------------------------------------------------

void Link::onTransmitEmpty()
{
    Set_Rts_For_Line();
    m_transmitting = false;
    wake();
}

void Link::onReadyRead(PortRole role)
{
    processChunk(role);
    wake();
}

void Link::processChunk(PortRole role)
{
    const bool system = role == PortRole::System;
    SerialPort *port = system ? m_system.get() : m_proximity.get();
    if (!port || !port->isOpen())
        return;
    const QByteArray chunk = port->read(kChunk);
    if (port->bytesAvailable() > 0) {
        // The rest is taken at the next notification; make sure one comes.
        bool &queued = system ? m_systemDrainQueued : m_proximityDrainQueued;
        if (!queued) {
            queued = true;
            QMetaObject::invokeMethod(this, [this, role, system] {
                (system ? m_systemDrainQueued : m_proximityDrainQueued) = false;
                onReadyRead(role);
            }, Qt::QueuedConnection);
        }
    }
    if (chunk.isEmpty())
        return;

    if (m_rawMode) {
        if (system)
            addModemLog(modemLogLine(QStringLiteral("Receiv"), chunk));
        const int room = kReceiveCapacity - int(m_raw.size());
        m_raw.append(chunk.left(std::max(room, 0)));
        return;
    }

    FrameReceiver &receiver = system ? m_systemReceiver : m_proximityReceiver;
    QElapsedTimer &lastByte = system ? m_systemLastByte : m_proximityLastByte;
    QTimer &byteTimer = system ? m_systemByteTimer : m_proximityByteTimer;
    // A gap longer than the byte time-out loses the frame in progress, even
    // when the byte timer's own event has not been handled yet.
    if (!receiver.idle() && lastByte.isValid() && lastByte.elapsed() > m_settings.byteGapMs)
        receiver.timeOut();
    lastByte.start();
    for (char c : chunk) {
        if (receiver.feed(uint8_t(c)) == FrameReceiver::Event::Accepted)
            acceptFrame(role, receiver);
    }
    if (receiver.idle())
        byteTimer.stop();
    else
        byteTimer.start(m_settings.byteGapMs);
}

void Link::acceptFrame(PortRole role, const FrameReceiver &receiver)
{
    const QByteArray &data = receiver.data();
    const auto code = uint8_t(data[0]);
    if (code == 0x01) {
        // "Busy, still working": taken only while no answer has come since
        // the last frame was sent; it never replaces a real answer.
        if (!m_noAnswerYet)
            return;
        m_answerCode = 0x01;
        m_answerer = receiver.source();
        m_answer = data.mid(1);
        m_answerCount = int(data.size());
        m_answerReceived = true;
        m_trace.record(LinkTrace::Direction::Received, kPcAddress, receiver.source(), code, receiver.raw());
        return;
    }
    m_noAnswerYet = false;
    m_answerCode = code;
    m_answer = data.mid(1);
    m_answerCount = int(data.size());
    m_answerer = receiver.source();
    m_answerReceived = true;
    m_trace.record(LinkTrace::Direction::Received, kPcAddress, receiver.source(), code, receiver.raw());
    if (role == PortRole::System) {
        addFramesReceived();
        m_incidencePending = code == 'H' && !m_downloading;
        if (m_incidencePending)
            emit incidenceArrived();
    } else {
        emit proximityFrame(receiver.source(), code, answerParams());
    }
}

// --- counters and log -------------------------------------------------------------

void Link::addFramesSent(int n)
{
    m_framesSent += n;
    emit countersChanged();
}

void Link::addFramesReceived(int n)
{
    m_framesReceived += n;
    emit countersChanged();
}

void Link::resetCounters()
{
    m_framesSent = 0;
    m_framesReceived = 0;
    emit countersChanged();
}

QString Link::modemLogLine(const QString &word, const QByteArray &bytes)
{
    QString line = word + QStringLiteral("   ");
    for (char c : bytes) {
        const auto b = uint8_t(c);
        if (b >= 0x20 && b <= 0x7E)
            {
            line += QLatin1Char(c);
            line += QLatin1Char(' ');
        }
        else
            line += QStringLiteral("$%1 ").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    }
    return line;
}

void Link::addModemLog(const QString &line)
{
    m_modemLog.append(line);
    emit modemLogAdded(line);
}
