#include "platform/ProfileFile.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool isCommentLine(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

} // namespace

ProfileFile::ProfileFile(const QString &path)
{
    load(path);
}

QString ProfileFile::decodeWindows1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b <= 0x9F ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t(b)));
    }
    return text;
}

QByteArray ProfileFile::encodeWindows1252(const QString &text, bool *ok)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    bool all = true;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        int byte = -1;
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = u;
        } else {
            for (int i = 0; i < 32; ++i)
                if (kCp1252High[i] == u)
                    byte = 0x80 + i;
        }
        if (byte < 0) {
            all = false;
            byte = '?';
        }
        bytes.append(char(byte));
    }
    if (ok)
        *ok = all;
    return bytes;
}

bool ProfileFile::load(const QString &path)
{
    m_path = path;
    m_error.clear();
    m_exists = QFile::exists(path);
    if (!m_exists) {
        parse(QByteArray());
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        parse(QByteArray());
        m_error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    parse(file.readAll());
    return true;
}

void ProfileFile::parse(const QByteArray &bytes)
{
    m_sections.clear();
    m_problems.clear();
    m_sections.append(Section{});

    QByteArray raw = bytes;
    if (raw.startsWith("\xEF\xBB\xBF"))
        raw.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(raw);
    m_legacyEncoding = utf8.hasError();
    if (m_legacyEncoding)
        text = decodeWindows1252(raw);

    const QStringList lines = text.split(QLatin1Char('\n'));
    Section *current = &m_sections.first();
    // Keys seen per section (lower case), so a large file reads in linear time.
    QHash<QString, QSet<QString>> seen;
    QSet<QString> *currentKeys = &seen[QString()];
    auto broken = [&](int lineNo, const QString &line, const QString &reason) {
        m_problems.append(Problem{lineNo, line, reason});
        current->lines.append(Line{Line::Comment, QString(), QStringLiteral("; ") + line});
    };
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        const int lineNo = i + 1;
        if (trimmed.isEmpty()) {
            // The final empty piece after the last line break is not a line.
            if (i + 1 < lines.size())
                current->lines.append(Line{Line::Comment, QString(), QString()});
            continue;
        }
        if (isCommentLine(trimmed)) {
            current->lines.append(Line{Line::Comment, QString(), trimmed});
            continue;
        }
        if (trimmed.startsWith(QLatin1Char('['))) {
            const int close = trimmed.indexOf(QLatin1Char(']'));
            const QString name = close > 0 ? trimmed.mid(1, close - 1).trimmed() : QString();
            if (close < 0) {
                broken(lineNo, line, QStringLiteral("section header without ']'"));
                continue;
            }
            if (name.isEmpty()) {
                broken(lineNo, line, QStringLiteral("section header without a name"));
                continue;
            }
            if (Section *existing = findSection(name)) {
                // A repeated section continues the first one.
                current = existing;
            } else {
                m_sections.append(Section{name, {}});
                current = &m_sections.last();
            }
            currentKeys = &seen[name.toLower()];
            continue;
        }
        const int eq = trimmed.indexOf(QLatin1Char('='));
        if (eq < 0) {
            broken(lineNo, line, QStringLiteral("line without '='"));
            continue;
        }
        const QString key = trimmed.left(eq).trimmed();
        if (key.isEmpty()) {
            broken(lineNo, line, QStringLiteral("entry without a key"));
            continue;
        }
        if (current == &m_sections.first()) {
            broken(lineNo, line, QStringLiteral("entry before any section"));
            continue;
        }
        const QString lowerKey = key.toLower();
        if (currentKeys->contains(lowerKey)) {
            // The first occurrence is the one that is read.
            broken(lineNo, line, QStringLiteral("repeated key '%1'").arg(key));
            continue;
        }
        currentKeys->insert(lowerKey);
        current->lines.append(Line{Line::Entry, key, trimmed.mid(eq + 1).trimmed()});
    }
}

QByteArray ProfileFile::serialize() const
{
    QString out;
    for (int s = 0; s < m_sections.size(); ++s) {
        const Section &section = m_sections[s];
        if (s > 0)
            out += QLatin1Char('[') + section.name + QStringLiteral("]\n");
        for (const Line &line : section.lines) {
            if (line.kind == Line::Comment)
                out += line.value + QLatin1Char('\n');
            else
                out += line.key + QLatin1Char('=') + line.value + QLatin1Char('\n');
        }
    }
    return out.toUtf8();
}

bool ProfileFile::save()
{
    m_error.clear();
    if (m_path.isEmpty()) {
        m_error = QStringLiteral("The profile file has no name");
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString());
        return false;
    }
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        m_error = QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString());
        return false;
    }
    m_exists = true;
    return true;
}

bool ProfileFile::saveAs(const QString &path)
{
    m_path = path;
    return save();
}

ProfileFile::Section *ProfileFile::findSection(const QString &name)
{
    for (int s = 1; s < m_sections.size(); ++s)
        if (m_sections[s].name.compare(name, Qt::CaseInsensitive) == 0)
            return &m_sections[s];
    return nullptr;
}

const ProfileFile::Section *ProfileFile::findSection(const QString &name) const
{
    return const_cast<ProfileFile *>(this)->findSection(name);
}

int ProfileFile::findKey(const Section &section, const QString &key)
{
    for (int i = 0; i < section.lines.size(); ++i) {
        const Line &line = section.lines[i];
        if (line.kind == Line::Entry && line.key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString ProfileFile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    const Section *found = findSection(section);
    if (!found)
        return fallback;
    const int i = findKey(*found, key);
    return i < 0 ? fallback : found->lines[i].value;
}

bool ProfileFile::contains(const QString &section, const QString &key) const
{
    const Section *found = findSection(section);
    return found && findKey(*found, key) >= 0;
}

bool ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString name = section.trimmed();
    const QString k = key.trimmed();
    if (name.isEmpty() || k.isEmpty() || hasLineBreak(name) || hasLineBreak(k) || hasLineBreak(value))
        return false;
    if (name.contains(QLatin1Char(']')) || k.contains(QLatin1Char('=')) || k.startsWith(QLatin1Char('['))
        || isCommentLine(k))
        return false;
    Section *found = findSection(name);
    if (!found) {
        m_sections.append(Section{name, {}});
        found = &m_sections.last();
    }
    const QString v = value.trimmed();
    const int i = findKey(*found, k);
    if (i >= 0) {
        found->lines[i].value = v;
        return true;
    }
    // New keys go after the last entry, ahead of trailing blank lines.
    int at = found->lines.size();
    while (at > 0 && found->lines[at - 1].kind == Line::Comment && found->lines[at - 1].value.isEmpty())
        --at;
    found->lines.insert(at, Line{Line::Entry, k, v});
    return true;
}

bool ProfileFile::eraseKey(const QString &section, const QString &key)
{
    Section *found = findSection(section);
    if (!found)
        return false;
    const int i = findKey(*found, key);
    if (i < 0)
        return false;
    found->lines.removeAt(i);
    return true;
}

QList<std::pair<QString, QString>> ProfileFile::entries(const QString &section) const
{
    QList<std::pair<QString, QString>> list;
    if (const Section *found = findSection(section))
        for (const Line &line : found->lines)
            if (line.kind == Line::Entry)
                list.append({line.key, line.value});
    return list;
}

QStringList ProfileFile::sections() const
{
    QStringList names;
    for (int s = 1; s < m_sections.size(); ++s)
        names << m_sections[s].name;
    return names;
}

bool ProfileFile::hasSection(const QString &section) const
{
    return findSection(section) != nullptr;
}

QStringList ProfileFile::keys(const QString &section) const
{
    QStringList names;
    if (const Section *found = findSection(section))
        for (const Line &line : found->lines)
            if (line.kind == Line::Entry)
                names << line.key;
    return names;
}
