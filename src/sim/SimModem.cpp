#include "sim/SimModem.h"

#include <QTimer>

#include "sim/SimBus.h"

SimModem::Step SimModem::result(int code, int delayMs)
{
    const bool connects = code == 1 || code == 5 || code == 9 || code == 10 || (code >= 12 && code <= 254);
    return Step{QByteArray::number(code) + '\r', delayMs, connects};
}

SimModem::Step SimModem::raw(const QByteArray &bytes, int delayMs, bool connect)
{
    return Step{bytes, delayMs, connect};
}

SimModem::SimModem(SimBus *bus) : QObject(bus), m_bus(bus) {}

void SimModem::reset()
{
    ++m_generation;
    m_connected = false;
    m_echo = true;
    m_verbal = true;
    m_line.clear();
}

void SimModem::hangUp()
{
    ++m_generation;
    const bool was = m_connected;
    m_connected = false;
    if (was && m_responding)
        sendResult(3);
}

void SimModem::fromPc(const QByteArray &bytes)
{
    if (m_echo && m_responding)
        m_bus->modemSend(bytes);
    for (char c : bytes) {
        if (c == '\r') {
            const QByteArray line = m_line;
            m_line.clear();
            command(line);
            if (m_connected)
                return; // anything after the dial's CR belongs to the call
        } else if (c != '\n') {
            m_line.append(c);
            if (m_line.size() > 256)
                m_line.clear();
        }
    }
}

void SimModem::sendResult(int code)
{
    if (!m_responding)
        return;
    if (!m_verbal) {
        m_bus->modemSend(QByteArray::number(code) + '\r');
        return;
    }
    static const char *const texts[] = {"OK", "CONNECT", "RING", "NO CARRIER", "ERROR", "CONNECT 1200",
                                        "NO DIALTONE", "BUSY", "NO ANSWER"};
    const QByteArray text = code >= 0 && code <= 8 ? QByteArray(texts[code]) : QByteArray::number(code);
    m_bus->modemSend("\r\n" + text + "\r\n");
}

void SimModem::command(const QByteArray &rawLine)
{
    const QByteArray typed = rawLine.trimmed();
    if (typed.isEmpty())
        return;
    m_commands.append(QString::fromLatin1(typed));
    QByteArray line = typed.toUpper();
    line.replace(' ', "");
    if (!line.startsWith("AT")) {
        sendResult(4);
        return;
    }
    int i = 2;
    while (i < line.size()) {
        const char c = line.at(i++);
        auto number = [&]() {
            int v = 0;
            while (i < line.size() && line.at(i) >= '0' && line.at(i) <= '9')
                v = v * 10 + (line.at(i++) - '0');
            return v;
        };
        switch (c) {
        case 'Z':
            number();
            reset();
            break;
        case 'E':
            m_echo = number() != 0;
            break;
        case 'V':
            m_verbal = number() != 0;
            break;
        case 'H':
            number();
            hangUp();
            break;
        case '&':
            if (i < line.size() && line.at(i) == 'F') {
                ++i;
                number();
                m_echo = true;
                m_verbal = true;
            } else if (i < line.size()) {
                ++i;
                number();
            }
            break;
        case '%':
        case '\\':
            if (i < line.size())
                ++i;
            number();
            break;
        case 'D': {
            if (i < line.size() && (line.at(i) == 'T' || line.at(i) == 'P'))
                ++i;
            m_dialled = QString::fromLatin1(line.mid(i));
            const int generation = ++m_generation;
            if (!m_script.isEmpty() && m_responding)
                QTimer::singleShot(m_script.first().delayMs, this, [this, generation] { playStep(0, generation); });
            return; // the dial's result comes from the script
        }
        default:
            number();
            break;
        }
    }
    sendResult(0);
}

void SimModem::playStep(int index, int generation)
{
    if (generation != m_generation || index >= m_script.size() || !m_responding)
        return;
    const Step &step = m_script.at(index);
    m_bus->modemSend(step.bytes);
    if (step.connect) {
        m_connected = true;
        return;
    }
    if (index + 1 < m_script.size())
        QTimer::singleShot(m_script.at(index + 1).delayMs, this,
                           [this, index, generation] { playStep(index + 1, generation); });
}
