#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>

#include <cstdint>

// The link trace: every frame sent and every frame accepted, with time,
// direction, addresses, command or answer code and the bytes on the wire.
// Installers switch it on to debug a bus; it is kept in memory and, when a
// file is given, appended to that file line by line as it happens.
class LinkTrace {
public:
    enum class Direction { Sent, Received };
    struct Entry {
        QDateTime time;
        Direction direction;
        uint8_t destination;
        uint8_t source;
        uint8_t code;
        QByteArray bytes;
    };

    bool enabled() const { return m_enabled; }
    void setEnabled(bool on) { m_enabled = on; }
    // Starts writing to `path` (appending); false with a message when it cannot be opened.
    bool setFile(const QString &path, QString *error = nullptr);
    void closeFile();

    void record(Direction direction, uint8_t destination, uint8_t source, uint8_t code, const QByteArray &bytes);

    const QList<Entry> &entries() const { return m_entries; }
    void clear() { m_entries.clear(); }
    // Writes every kept entry to `path` (replacing it).
    bool save(const QString &path, QString *error = nullptr) const;

    static QString format(const Entry &entry);

private:
    bool m_enabled = false;
    QList<Entry> m_entries;
    QFile m_file;
};
