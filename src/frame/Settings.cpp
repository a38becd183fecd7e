#include "frame/Settings.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFileInfo>

#include <limits>

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kPorts = QStringLiteral("Ports");
const QString kPortsDesc = QStringLiteral("Ports_Desc");
const QString kPortsPath = QStringLiteral("Ports_Path");
const QString kMail = QStringLiteral("Mail");

} // namespace

Settings::Settings()
    : senda(Paths::defaultWorkFolder())
{
    for (int i = 0; i < kPortCount; ++i)
        portsPath[i] = defaultDevicePath(i);
}

QString Settings::filePath()
{
    const QString dir = Paths::configDir();
    const QString name = QString::fromLatin1(kFileName);
    const QStringList existing = QDir(dir).entryList({name}, QDir::Files); // name filters ignore case
    for (const QString &candidate : existing)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return dir + candidate;
    return dir + name;
}

QString Settings::portName(int index)
{
    return QStringLiteral("COM%1").arg(index + 1);
}

int Settings::portIndex(const QString &name)
{
    const QString n = name.trimmed().toUpper();
    if (!n.startsWith(QLatin1String("COM")))
        return -1;
    bool ok = false;
    const int number = n.mid(3).toInt(&ok);
    return ok && number >= 1 && number <= kPortCount && n.mid(3) == QString::number(number) ? number - 1 : -1;
}

QString Settings::defaultDevicePath(int index)
{
    return QStringLiteral("/dev/ttyS%1").arg(index);
}

bool Settings::portIncluded(int index) const
{
    return index >= 0 && index < kPortCount && ports[index].compare(QLatin1String("Include"), Qt::CaseInsensitive) == 0;
}

QString Settings::devicePath(const QString &name) const
{
    const int index = portIndex(name);
    if (index < 0)
        return QString();
    return portsPath[index].isEmpty() ? defaultDevicePath(index) : portsPath[index];
}

bool Settings::load(const QString &path)
{
    *this = Settings();
    ProfileFile profile;
    const bool readable = profile.load(path);
    if (!readable)
        m_warnings << profile.errorText();
    for (const ProfileFile::Problem &p : profile.problems())
        m_warnings << QStringLiteral("%1, line %2: %3: %4").arg(path).arg(p.line).arg(p.reason, p.text);

    auto text = [&](const QString &section, const QString &key, const QString &fallback) {
        return profile.readString(section, key, fallback);
    };
    bool integerError = false;
    auto integer = [&](const QString &section, const QString &key, int fallback, int min, int max) {
        const QString value = text(section, key, QString::number(fallback)).trimmed();
        bool ok = false;
        const int number = value.toInt(&ok);
        if (ok && number >= min && number <= max)
            return number;
        integerError = true;
        m_warnings << QStringLiteral("[%1] %2=\"%3\" is not a valid integer; the default %4 is used")
                          .arg(section, key, value)
                          .arg(fallback);
        return fallback;
    };

    const QString work = text(kGeneral, QStringLiteral("Senda"), QString()).trimmed();
    senda = work.isEmpty() ? Paths::defaultWorkFolder() : Paths::withSlash(work);
    ultimaInst = text(kGeneral, QStringLiteral("Ultima_inst"), ultimaInst);
    sysPort = text(kGeneral, QStringLiteral("Sys_Port"), sysPort);
    proxPort = text(kGeneral, QStringLiteral("Prox_Port"), proxPort);
    autoTest = text(kGeneral, QStringLiteral("AutoTest"), autoTest);
    idioma = text(kGeneral, QStringLiteral("Idioma"), idioma);
    constexpr int kMaxInt = std::numeric_limits<int>::max();
    constexpr int kMinInt = std::numeric_limits<int>::min();
    velTrama = integer(kGeneral, QStringLiteral("Vel_Trama"), velTrama, kMinInt, kMaxInt);
    offByModem = integer(kGeneral, QStringLiteral("Off_By_MODEM"), offByModem, kMinInt, kMaxInt);
    offByInsertUser = integer(kGeneral, QStringLiteral("Off_By_Insert_User"), offByInsertUser, kMinInt, kMaxInt);
    offByUpdateUser = integer(kGeneral, QStringLiteral("Off_By_update_User"), offByUpdateUser, kMinInt, kMaxInt);
    // Held in one byte: a value that does not fit is refused, not wrapped.
    isolateBrx = std::uint8_t(integer(kGeneral, QStringLiteral("Isolate_BRX"), isolateBrx, 0, 255));
    parity = text(kGeneral, QStringLiteral("Parity"), parity);
    atBaudRate = text(kGeneral, QStringLiteral("AT_BaudRate"), atBaudRate);
    riSpecialEventSounded = text(kGeneral, QStringLiteral("RI_Special_Event_Sounded"), QStringLiteral("N")) == QLatin1String("Y");
    riSpecialEventSoundedType = text(kGeneral, QStringLiteral("RI_Special_Event_Sounded_Type"), riSpecialEventSoundedType);

    for (int i = 0; i < kPortCount; ++i) {
        const QString name = portName(i);
        ports[i] = text(kPorts, name, QString());
        portsDesc[i] = text(kPortsDesc, name, QString());
        const QString device = text(kPortsPath, name, QString()).trimmed();
        portsPath[i] = device.isEmpty() ? defaultDevicePath(i) : device;
    }

    mailServer = text(kMail, QStringLiteral("Server"), QString());
    mailPort = integer(kMail, QStringLiteral("Port"), mailPort, 1, 65535);
    mailFrom = text(kMail, QStringLiteral("From"), QString());
    mailUser = text(kMail, QStringLiteral("User"), QString());
    mailPassword = text(kMail, QStringLiteral("Password"), QString());
    const QString security = text(kMail, QStringLiteral("Security"), mailSecurity).trimmed().toLower();
    if (security == QLatin1String("none") || security == QLatin1String("starttls") || security == QLatin1String("tls")) {
        mailSecurity = security;
    } else {
        m_warnings << QStringLiteral("[Mail] Security=\"%1\" is not none, starttls or tls; none is used").arg(security);
    }

    if (integerError) {
        // The ports are not trusted when the file held a bad number.
        sysPort = QStringLiteral("COM1");
        proxPort = QStringLiteral("COM1");
    }
    return readable;
}

QList<Settings::Entry> Settings::entries() const
{
    QList<Entry> list;
    auto add = [&list](const QString &section, const QString &key, const QString &value) {
        list.append(Entry{section, key, value});
    };
    add(kGeneral, QStringLiteral("Senda"), senda);
    add(kGeneral, QStringLiteral("Ultima_inst"), ultimaInst);
    add(kGeneral, QStringLiteral("Sys_Port"), sysPort);
    add(kGeneral, QStringLiteral("Prox_Port"), proxPort);
    add(kGeneral, QStringLiteral("AutoTest"), autoTest);
    add(kGeneral, QStringLiteral("Idioma"), idioma);
    add(kGeneral, QStringLiteral("Vel_Trama"), QString::number(velTrama));
    add(kGeneral, QStringLiteral("Off_By_MODEM"), QString::number(offByModem));
    add(kGeneral, QStringLiteral("Off_By_Insert_User"), QString::number(offByInsertUser));
    add(kGeneral, QStringLiteral("Off_By_update_User"), QString::number(offByUpdateUser));
    add(kGeneral, QStringLiteral("Isolate_BRX"), QString::number(isolateBrx));
    add(kGeneral, QStringLiteral("Parity"), parity);
    add(kGeneral, QStringLiteral("AT_BaudRate"), atBaudRate);
    add(kGeneral, QStringLiteral("RI_Special_Event_Sounded"), riSpecialEventSounded ? QStringLiteral("Y") : QStringLiteral("N"));
    add(kGeneral, QStringLiteral("RI_Special_Event_Sounded_Type"), riSpecialEventSoundedType);
    add(kGeneral, QStringLiteral("Version"), QString::fromLatin1(kVersion));
    for (int i = 0; i < kPortCount; ++i)
        add(kPorts, portName(i), ports[i]);
    for (int i = 0; i < kPortCount; ++i)
        add(kPortsDesc, portName(i), portsDesc[i]);
    for (int i = 0; i < kPortCount; ++i)
        add(kPortsPath, portName(i), portsPath[i]);
    add(kMail, QStringLiteral("Server"), mailServer);
    add(kMail, QStringLiteral("Port"), QString::number(mailPort));
    add(kMail, QStringLiteral("From"), mailFrom);
    add(kMail, QStringLiteral("User"), mailUser);
    add(kMail, QStringLiteral("Password"), mailPassword);
    add(kMail, QStringLiteral("Security"), mailSecurity);
    return list;
}

void Settings::writeTo(ProfileFile &profile) const
{
    for (const Entry &e : entries()) {
        // A line break cannot be stored in a profile value; it is written
        // as a blank so the file keeps its shape.
        QString value = e.value;
        value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        profile.writeString(e.section, e.key, value);
    }
}

bool Settings::save(const QString &path, QString *error) const
{
    ProfileFile profile;
    if (!profile.load(path)) {
        // An unreadable file is not replaced: what it holds would be lost.
        if (error)
            *error = profile.errorText();
        return false;
    }
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) {
        if (error)
            *error = QStringLiteral("Cannot create the folder %1").arg(dir);
        return false;
    }
    writeTo(profile);
    if (!profile.save()) {
        if (error)
            *error = profile.errorText();
        return false;
    }
    return true;
}
