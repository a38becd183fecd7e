#include "link/Modem.h"

#include <QTimer>

Modem::Modem(Link &link) : m_link(link) { loadCommands(); }

void Modem::loadCommands()
{
    m_commands = {QStringLiteral("ATZ"), QStringLiteral("ATDP"), QStringLiteral("ATDT"), QStringLiteral("AT V0"),
                  QStringLiteral("+++ ATH"), QStringLiteral("AT E0"), QStringLiteral("AT &F1"), QStringLiteral("AT &F"),
                  QStringLiteral("AT %C0"), m_link.settings().AT_BaudRate};
}

void Modem::pause(int ms) { m_link.Pause_Ms(int(ms * m_pauseScale)); }

bool Modem::sendString(const QByteArray &bytes, bool withPause)
{
    if (withPause)
        pause(25);
    return m_link.sendRaw(bytes);
}

bool Modem::Modem_Send_Command(int index, bool withCr)
{
    QByteArray bytes = m_commands.value(index).toLatin1();
    if (withCr)
        bytes.append('\r');
    return sendString(bytes, true);
}

bool Modem::Modem_Send_Char(char c) { return sendString(QByteArray(1, c), false); }

bool Modem::Modem_Init()
{
    m_link.setRawMode(true);
    if (SerialPort *port = m_link.systemPort()) {
        port->setBaudRate(9600);
        port->setDtr(true);
    }
    m_link.setSystemParity(false);
    Modem_Send_Command(Reset, true);
    m_link.setNoAnswerYet(true);
    pause(1000);
    Modem_Send_Command(Factory, true);
    pause(1000);
    const QByteArray answer = m_link.rawData();
    if (!answer.contains('0') && !answer.contains('O'))
        return false;
    Modem_Send_Command(Init2, true);
    pause(500);
    Modem_Send_Command(BaudRate, true);
    pause(500);
    return true;
}

QString Modem::resultText(int result)
{
    switch (result) {
    case 1:
        return QStringLiteral("CONNECT");
    case 3:
        return QStringLiteral("NO CARRIER (NO ANSWER)");
    case 6:
        return QStringLiteral("NO DIAL TONE");
    case 7:
        return QStringLiteral("BUSY");
    case 8:
        return QStringLiteral("NO ANSWER");
    default:
        break;
    }
    if (resultConnects(result))
        return QStringLiteral("CONNECT MODE (%1)").arg(result);
    return QStringLiteral("COMMUNICATION ERROR");
}

bool Modem::resultConnects(int result) { return result == 1 || result == 5 || (result >= 9 && result <= 254); }

int Modem::interpret()
{
    const QByteArray b = m_link.rawData();
    const int n = int(b.size());
    auto figure = [&](int i) { return i < n && b[i] >= '0' && b[i] <= '9'; };
    auto value = [&](int count) {
        int v = 0;
        for (int i = 0; i < count; ++i) {
            if (!figure(i))
                return 255; // not a number where one is expected: a communication error
            v = v * 10 + (b[i] - '0');
        }
        return v > 255 ? 255 : v;
    };
    if (n == 2)
        return value(1);
    if (n == 3) {
        const int v = value(2);
        if (v == 11) {
            m_link.clearRaw();
            return -1;
        }
        return v;
    }
    if (n >= 4 && n <= 10) {
        if (b[2] == '\r')
            return value(2);
        if (b[3] == '\r')
            return value(3);
        if (b.startsWith("+F")) {
            m_link.clearRaw();
            return -1;
        }
        return 4;
    }
    return -1;
}

bool Modem::Modem_Dial(const QString &number, bool pulse, QString *text)
{
    Modem_Send_Command(NumericResults, true);
    pause(250);
    Modem_Send_Command(EchoOff, true);
    pause(250);
    Modem_Send_Command(pulse ? DialPulse : DialTone, false);
    for (QChar c : number)
        Modem_Send_Char(c.toLatin1());
    Modem_Send_Char('\r');

    m_link.setNoAnswerYet(true);
    bool timedOut = false;
    QTimer modemTimer;
    modemTimer.setSingleShot(true);
    QObject::connect(&modemTimer, &QTimer::timeout, [&] { timedOut = true; });
    modemTimer.start(m_link.settings().modemSilenceMs);
    m_link.clearRaw();
    int result = 4;
    m_link.setModemResult(4);
    while (!timedOut && !m_link.stopFlag()) {
        m_link.waitUntil([&] { return timedOut || m_link.stopFlag() || m_link.rawData().size() >= 2; }, -1);
        if (timedOut || m_link.stopFlag() || m_link.rawData().size() < 2)
            break;
        pause(m_settleMs);
        const int r = interpret();
        if (r >= 0) {
            result = r;
            break;
        }
    }
    modemTimer.stop();
    if (timedOut || m_link.stopFlag())
        result = 255;
    m_link.setModemResult(uint8_t(result));
    if (text)
        *text = resultText(result);
    if (resultConnects(result)) {
        m_link.setRawMode(false);
        m_link.Set_Rts_For_Line();
        return true;
    }
    Modem_Hang_Up();
    m_link.setRawMode(false);
    m_link.setModemResult(255);
    m_link.Set_Rts_For_Line();
    return false;
}

void Modem::Modem_Hang_Up()
{
    pause(200);
    if (SerialPort *port = m_link.systemPort())
        port->setDtr(false);
    pause(200);
}
