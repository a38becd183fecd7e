#pragma once

#include "link/Link.h"

#include <QString>
#include <QStringList>

// The Hayes modem dialogue on the system port. While the modem is commanded
// the link runs in raw mode: received bytes are collected unframed and every
// command and received chunk is logged (Link::modemLog()).
class Modem {
public:
    // AT strings by index; index 9 is the AT_BaudRate setting.
    enum Command { Reset = 0, DialPulse = 1, DialTone = 2, NumericResults = 3, HangUpEscape = 4,
                   EchoOff = 5, Factory1 = 6, Factory = 7, Init2 = 8, BaudRate = 9 };

    explicit Modem(Link &link);

    // Reloads the strings (the baud-rate command from the settings).
    void loadCommands();
    QString command(int index) const { return m_commands.value(index); }

    // Pauses 25 ms, then writes the string (and a CR when asked) unframed.
    bool Modem_Send_Command(int index, bool withCr);
    bool Modem_Send_Char(char c);
    // True when the modem answered the factory-settings command with '0' or 'O'.
    bool Modem_Init();
    // Dials `number`; true when connected. *resultText gets the result's text.
    bool Modem_Dial(const QString &number, bool pulse, QString *resultText = nullptr);
    void Modem_Hang_Up();

    // The text of a numeric result ("CONNECT", "BUSY", ...) and whether it connects.
    static QString resultText(int result);
    static bool resultConnects(int result);

    // The pause the dialler takes after the first result bytes; tests shorten it.
    void setSettleMs(int ms) { m_settleMs = ms; }
    void setPauseScale(double scale) { m_pauseScale = scale; }

private:
    bool sendString(const QByteArray &bytes, bool pause);
    void pause(int ms);
    // Interprets the collected result bytes: result >= 0 ends the wait,
    // -1 goes on waiting (bytes possibly discarded).
    int interpret();

    Link &m_link;
    QStringList m_commands;
    int m_settleMs = 250;
    double m_pauseScale = 1.0;
};
