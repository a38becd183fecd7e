#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

class ProfileFile;

// The settings file VELTRONA.INI in the config folder: read once at
// start-up into these values, written back whole at the moments the
// program saves its settings.
//
// All values are text in the file; the numeric ones are converted here. A
// numeric value that is not an integer does not stop the program: that key
// keeps its default, Sys_Port and Prox_Port fall back to "COM1", and the
// problem is recorded in warnings() for a window or the CLI to show.
class Settings {
public:
    static constexpr int kPortCount = 16;
    static constexpr const char *kFileName = "VELTRONA.INI";
    static constexpr const char *kVersion = "1.0.8";
    static constexpr const char *kNoInstallation = "AINTNO";

    // [General]
    QString senda;                 // work folder, always ending in '/'
    QString ultimaInst = QString::fromLatin1(kNoInstallation);
    QString sysPort = QStringLiteral("COM1");
    QString proxPort = QStringLiteral("COM1");
    QString autoTest = QStringLiteral("True");
    QString idioma = QStringLiteral("ENGLISH");
    int velTrama = 1000;
    int offByModem = 1000;
    int offByInsertUser = 2500;
    int offByUpdateUser = 1500;
    std::uint8_t isolateBrx = 1;   // 1 every card, 2 registered cards only
    QString parity = QStringLiteral("0"); // "1" even, anything else none
    QString atBaudRate = QStringLiteral("AT &N6");
    bool riSpecialEventSounded = false;
    QString riSpecialEventSoundedType = QStringLiteral("0");

    // [Ports], [Ports_Desc], [Ports_Path]; index 0 is COM1.
    std::array<QString, kPortCount> ports;      // "Include" or empty
    std::array<QString, kPortCount> portsDesc;
    std::array<QString, kPortCount> portsPath;  // device path or "sim"

    // [Mail]: the warning e-mail server.
    QString mailServer;
    int mailPort = 25;
    QString mailFrom;
    QString mailUser;
    QString mailPassword;
    QString mailSecurity = QStringLiteral("none"); // none, starttls, tls

    Settings();

    // The settings file's path: the config folder's VELTRONA.INI (an
    // existing file spelled in another case is used as it is).
    static QString filePath();

    // Reads the file; a missing file or key yields the defaults. Returns
    // false only when the file exists but cannot be read (defaults kept,
    // the reason in warnings()).
    bool load(const QString &path = filePath());
    // Writes every key, Version included, keeping sections and comments of
    // the file that are not ours. Returns false with *error on failure.
    bool save(const QString &path = filePath(), QString *error = nullptr) const;

    // Problems met by the last load(): non-integer values, unknown
    // security mode, broken lines of the file.
    const QStringList &warnings() const { return m_warnings; }

    bool autoTestOn() const { return autoTest.toUpper() == QLatin1String("TRUE"); }
    bool parityEven() const { return parity == QLatin1String("1"); }
    bool hasLastInstallation() const { return ultimaInst != QLatin1String(kNoInstallation); }
    // "COM1".."COM16" for index 0..15.
    static QString portName(int index);
    // Index 0..15 of a port name ("com3" → 2), -1 when it is none of them.
    static int portIndex(const QString &name);
    bool portIncluded(int index) const;
    // The device path of a port name ("sim" for the simulated bus); empty
    // for a name that is not COM1..COM16.
    QString devicePath(const QString &portName) const;
    static QString defaultDevicePath(int index);

    // Every key with its value, section by section, in the order written.
    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    QList<Entry> entries() const;

private:
    void writeTo(ProfileFile &profile) const;
    QStringList m_warnings;
};
