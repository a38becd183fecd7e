#include "frame/Operators.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace Operators {

QString filePath(const QString &systemDir)
{
    const QString dir = Paths::withSlash(systemDir);
    const QString name = QString::fromLatin1(kFileName);
    const QStringList existing = QDir(dir).entryList({name}, QDir::Files);
    for (const QString &candidate : existing)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return dir + candidate;
    return dir + name;
}

QString filePath()
{
    return filePath(Paths::systemDir());
}

QString pad(const QString &text)
{
    if (text.size() >= kFieldWidth)
        return text;
    return text + QString(kFieldWidth - text.size(), QLatin1Char(kPad));
}

QString unpad(const QString &text)
{
    QString out = text;
    out.remove(QLatin1Char(kPad));
    return out;
}

QByteArray encodeRecord(const QString &name, const QString &password, int level)
{
    QByteArray record = ProfileFile::encodeWindows1252(pad(name)).left(kFieldWidth);
    record += ProfileFile::encodeWindows1252(pad(password)).left(kFieldWidth);
    record.append(char(level));
    return record;
}

namespace {

bool readBytes(const QString &path, QByteArray *bytes, QString *error)
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    QFile file(path);
    if (!file.exists())
        return fail(QStringLiteral("The operator file %1 does not exist").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read the operator file %1: %2").arg(path, file.errorString()));
    *bytes = file.readAll();
    if (bytes->size() % kRecordSize != 0)
        return fail(QStringLiteral("The operator file %1 is damaged: its size (%2 bytes) is not a multiple of %3")
                        .arg(path)
                        .arg(bytes->size())
                        .arg(kRecordSize));
    return true;
}

// Name (16 characters), password (16 characters) and level of record i.
struct RawRecord {
    QString name;
    QString password;
    int level;
};

RawRecord rawRecord(const QByteArray &bytes, int i)
{
    const int at = i * kRecordSize;
    return RawRecord{ProfileFile::decodeWindows1252(bytes.mid(at, kFieldWidth)),
                     ProfileFile::decodeWindows1252(bytes.mid(at + kFieldWidth, kFieldWidth)),
                     int(static_cast<unsigned char>(bytes.at(at + 2 * kFieldWidth)))};
}

QString checkField(const QString &what, const QString &text, bool allowEmpty)
{
    if (text.isEmpty() && !allowEmpty)
        return QStringLiteral("The %1 is empty").arg(what);
    if (text.size() > kFieldWidth)
        return QStringLiteral("The %1 is longer than %2 characters").arg(what).arg(kFieldWidth);
    if (text.contains(QLatin1Char(kPad)))
        return QStringLiteral("The %1 may not contain '^'").arg(what);
    for (const QChar ch : text)
        if (ch.category() == QChar::Other_Control)
            return QStringLiteral("The %1 contains a control character").arg(what);
    bool ok = false;
    ProfileFile::encodeWindows1252(text, &ok);
    if (!ok)
        return QStringLiteral("The %1 contains a character that the operator file cannot hold").arg(what);
    return QString();
}

} // namespace

bool readAll(const QString &path, QList<Operator> *operators, QString *error)
{
    QByteArray bytes;
    if (!readBytes(path, &bytes, error))
        return false;
    operators->clear();
    for (int i = 0; i < bytes.size() / kRecordSize; ++i) {
        const RawRecord r = rawRecord(bytes, i);
        operators->append(Operator{unpad(r.name), unpad(r.password), r.level});
    }
    return true;
}

bool checkOperator(const QString &name, const QString &password, int *level, const QString &path, QString *error)
{
    QByteArray bytes;
    if (!readBytes(path, &bytes, error))
        return false;
    const QString wantedName = pad(name).toLower();
    const QString wantedPassword = pad(password).toLower();
    for (int i = 0; i < bytes.size() / kRecordSize; ++i) {
        const RawRecord r = rawRecord(bytes, i);
        if (r.name.toLower() == wantedName && r.password.toLower() == wantedPassword) {
            if (level)
                *level = r.level;
            return true;
        }
    }
    return false;
}

AddResult addOperator(const QString &path, const QString &name, const QString &password, int level, QString *error)
{
    auto fail = [error](AddResult result, const QString &message) {
        if (error)
            *error = message;
        return result;
    };
    if (QString problem = checkField(QStringLiteral("name"), name, false); !problem.isEmpty())
        return fail(AddResult::BadInput, problem);
    if (QString problem = checkField(QStringLiteral("password"), password, true); !problem.isEmpty())
        return fail(AddResult::BadInput, problem);
    if (level < 0 || level > 2)
        return fail(AddResult::BadInput, QStringLiteral("The level must be 0, 1 or 2"));

    QByteArray bytes;
    if (QFile::exists(path)) {
        QString readError;
        if (!readBytes(path, &bytes, &readError))
            return fail(AddResult::Failed, readError);
        for (int i = 0; i < bytes.size() / kRecordSize; ++i)
            if (unpad(rawRecord(bytes, i).name).toLower() == name.toLower())
                return fail(AddResult::Failed, QStringLiteral("The operator %1 already exists").arg(name));
    }
    bytes += encodeRecord(name, password, level);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(AddResult::Failed, QStringLiteral("Cannot write the operator file %1: %2").arg(path, file.errorString()));
    return AddResult::Ok;
}

} // namespace Operators

LoginAttempts::Result LoginAttempts::submit(const QString &name, const QString &password)
{
    if (name.isEmpty())
        return Result::Ignored;
    if (m_failures >= kMaxFailures)
        return Result::Refused;
    m_fileError.clear();
    int level = 0;
    if (Operators::checkOperator(name, password, &level, m_file, &m_fileError)) {
        m_level = level;
        return Result::LoggedIn;
    }
    ++m_failures;
    return m_failures >= kMaxFailures ? Result::Refused : Result::TryAgain;
}
