#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// A profile (INI) file: "[Section]" headers and "Key=Value" lines.
//
// Sections and keys are found without regard to case; values are kept as
// text exactly as written between the first '=' and the end of the line
// (surrounding blanks trimmed), with no escaping. The file is read whole
// into memory and rewritten whole and atomically by save(), so a reader
// never sees half a file.
//
// The file is decoded as UTF-8, or as Windows-1252 when it is not valid
// UTF-8 (files written on the program's original platform). It is always
// written as UTF-8.
//
// Lines the format does not allow (a line without '=' inside a section, a
// key before any section, a header without its closing ']') are reported in
// problems() and the rest of the file is read normally. They are not lost:
// save() writes them back commented out with "; ", so the file stays a
// valid profile file and the text is still there for whoever fixes it.
class ProfileFile {
public:
    struct Problem {
        int line = 0;      // 1-based line number in the file as read
        QString text;      // the offending line
        QString reason;    // what is wrong with it
    };

    ProfileFile() = default;
    explicit ProfileFile(const QString &path);

    // Reads `path`. A missing file is not an error: the profile is empty and
    // exists() is false. Returns false (with errorText()) only when the file
    // exists but cannot be read.
    bool load(const QString &path);
    // Writes the whole profile to path() atomically. Returns false with
    // errorText() when the file cannot be written; the old file is untouched.
    bool save();
    bool saveAs(const QString &path);

    QString path() const { return m_path; }
    bool exists() const { return m_exists; }
    // True when the file was not valid UTF-8 and was read as Windows-1252.
    bool readAsWindows1252() const { return m_legacyEncoding; }
    QString errorText() const { return m_error; }
    const QList<Problem> &problems() const { return m_problems; }

    QString readString(const QString &section, const QString &key, const QString &fallback = QString()) const;
    bool contains(const QString &section, const QString &key) const;
    // Sets the value, creating the section and key when missing (a new
    // section goes at the end, a new key at the end of its section). Refuses
    // (returns false) an empty section or key, a line break anywhere, a key
    // with '=' or starting with '[', ';' or '#', and a section name with ']'.
    bool writeString(const QString &section, const QString &key, const QString &value);
    // Removes the key; true when it was there.
    bool eraseKey(const QString &section, const QString &key);

    // Section names as spelled in the file, in file order.
    QStringList sections() const;
    bool hasSection(const QString &section) const;
    // Key names of one section as spelled in the file, in file order.
    QStringList keys(const QString &section) const;
    // Key and value pairs of one section, in file order.
    QList<std::pair<QString, QString>> entries(const QString &section) const;

    // The whole profile as it would be written.
    QByteArray serialize() const;
    // Replaces the contents with the parse of `bytes` (problems() refilled).
    void parse(const QByteArray &bytes);

    // Single-byte Windows-1252 text, as files of the program's original
    // platform hold it. encode sets *ok false when a character has no byte.
    static QString decodeWindows1252(const QByteArray &bytes);
    static QByteArray encodeWindows1252(const QString &text, bool *ok = nullptr);

private:
    struct Line {
        enum Kind { Entry, Comment } kind = Entry;
        QString key;     // Entry
        QString value;   // Entry; for Comment the whole line
    };
    struct Section {
        QString name;    // empty for the lines before the first header
        QList<Line> lines;
    };

    Section *findSection(const QString &name);
    const Section *findSection(const QString &name) const;
    static int findKey(const Section &section, const QString &key);

    QString m_path;
    bool m_exists = false;
    bool m_legacyEncoding = false;
    QString m_error;
    QList<Problem> m_problems;
    QList<Section> m_sections; // m_sections[0] is the unnamed preamble
};
