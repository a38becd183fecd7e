#pragma once

#include <QMap>
#include <QString>

// The values the device link takes from the settings file, with the
// settings' defaults, plus timing values the settings file does not hold
// (fixed in the program; tests shorten them).
struct LinkSettings {
    // [General]
    int Vel_Trama = 1000;           // ms: normal answer time-out of a frame
    int Off_By_MODEM = 1000;        // ms added to the grace delays over a modem
    int Off_By_Insert_User = 2500;  // ms grace delay after a timed-out '0'
    int Off_By_update_User = 1500;  // ms grace delay after a timed-out 'b'
    int Isolate_BRX = 1;            // 1 any card allowed, 2 only registered cards
    QString Parity = QStringLiteral("0");      // "1" even, anything else none
    QString AT_BaudRate = QStringLiteral("AT &N6");
    QString Sys_Port = QStringLiteral("COM1");
    QString Prox_Port = QStringLiteral("COM1");
    // [Ports_Path]: port name ("COM3") -> device path
    QMap<QString, QString> portPaths;

    // Fixed timings of the link.
    int byteGapMs = 150;            // a longer gap between bytes loses the frame
    int longTimeoutOpenPageMs = 2000;   // 'K'
    int longTimeoutClosePageMs = 4000;  // '9' and 0x1B
    int isolationSleepMs = 250;     // after 'c'
    int connectPauseMs = 250;       // before reading the user-memory header
    int cuTestAttemptMs = 500;      // CU test: one attempt
    int modemSilenceMs = 60000;     // dialling: longest wait for a result

    bool parityEven() const { return Parity.trimmed() == QLatin1String("1"); }

    // Device path of a port name: the [Ports_Path] entry (names compared
    // without regard to case), else /dev/ttyS<n-1> for "COMn"; a name that
    // is not "COMn" is taken as a path itself ("sim", "/dev/pts/3").
    QString devicePath(const QString &portName) const;
};
