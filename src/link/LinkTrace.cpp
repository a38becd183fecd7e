#include "link/LinkTrace.h"

#include "link/FrameCodec.h"

#include <QSaveFile>

bool LinkTrace::setFile(const QString &path, QString *error)
{
    closeFile();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, m_file.errorString());
        return false;
    }
    return true;
}

void LinkTrace::closeFile()
{
    if (m_file.isOpen())
        m_file.close();
}

void LinkTrace::record(Direction direction, uint8_t destination, uint8_t source, uint8_t code, const QByteArray &bytes)
{
    if (!m_enabled)
        return;
    Entry entry{QDateTime::currentDateTime(), direction, destination, source, code, bytes};
    if (m_file.isOpen()) {
        m_file.write(format(entry).toUtf8());
        m_file.write("\n");
        m_file.flush();
    }
    m_entries.append(std::move(entry));
}

bool LinkTrace::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    for (const Entry &entry : m_entries) {
        file.write(format(entry).toUtf8());
        file.write("\n");
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QString LinkTrace::format(const Entry &entry)
{
    return QStringLiteral("%1 %2 dst=%3 src=%4 code=%5 bytes=%6")
        .arg(entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
             entry.direction == Direction::Sent ? QStringLiteral("SENT") : QStringLiteral("RECV"),
             QStringLiteral("%1").arg(entry.destination, 2, 16, QLatin1Char('0')).toUpper(),
             QStringLiteral("%1").arg(entry.source, 2, 16, QLatin1Char('0')).toUpper(),
             QStringLiteral("%1").arg(entry.code, 2, 16, QLatin1Char('0')).toUpper(),
             FrameCodec::hex(entry.bytes));
}
