#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>

class QTimer;
class SimBus;

// A Hayes-compatible modem in front of the bus. Until it is connected it
// reads AT command lines (ended by CR) and answers with result codes; a dial
// ("ATD...") plays a script of responses. Once a script step connects, the
// PC's bytes go to the bus as frames and the devices' frames come back.
class SimModem : public QObject {
    Q_OBJECT
public:
    struct Step {
        QByteArray bytes;    // sent to the PC as they are
        int delayMs = 200;   // after the previous step (or the dial's CR)
        bool connect = false; // the call is up once these bytes are sent
    };
    // A numeric result code as the modem sends it with V0 ("1\r"); connect is
    // set for the connect codes 1, 5, 9, 10 and 12 and above.
    static Step result(int code, int delayMs = 200);
    static Step raw(const QByteArray &bytes, int delayMs = 200, bool connect = false);

    explicit SimModem(SimBus *bus);

    // Played after each dial. Empty: the modem stays silent after a dial.
    // Default: result(1) – CONNECT.
    void setDialScript(const QList<Step> &steps) { m_script = steps; }
    // When false the modem answers nothing at all (dead modem).
    void setResponding(bool responding) { m_responding = responding; }

    bool connected() const { return m_connected; }
    void hangUp();  // ends the call (sends NO CARRIER)
    void reset();   // back to the power-on state, no call
    bool echo() const { return m_echo; }
    bool verbal() const { return m_verbal; }
    QStringList commands() const { return m_commands; } // AT lines received, as typed
    QString dialled() const { return m_dialled; }       // number of the last dial

    // Bytes from the PC while not connected.
    void fromPc(const QByteArray &bytes);

private:
    void command(const QByteArray &line);
    void sendResult(int code);
    void playStep(int index, int generation);

    SimBus *m_bus;
    QList<Step> m_script{result(1)};
    bool m_responding = true;
    bool m_connected = false;
    bool m_echo = true;
    bool m_verbal = true;
    QByteArray m_line;
    QStringList m_commands;
    QString m_dialled;
    int m_generation = 0; // a reset or new dial drops steps still to come
};
