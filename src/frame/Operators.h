#pragma once

#include <QList>
#include <QString>

// The operator file Oprpw.gti in the system folder: fixed 33-byte records,
// no header.
//
//   offset  0, 16 bytes  name, single-byte characters, right-padded with '^'
//   offset 16, 16 bytes  password, padded likewise
//   offset 32,  1 byte   level 0, 1 or 2
//
// The program only reads it at login; `veltrona-cli operator add` appends.
namespace Operators {

inline constexpr int kRecordSize = 33;
inline constexpr int kFieldWidth = 16;
inline constexpr char kPad = '^';
inline constexpr const char *kFileName = "Oprpw.gti";

struct Operator {
    QString name;      // as stored, without its padding
    QString password;  // as stored, without its padding
    int level = 0;
};

// The operator file of `systemDir` (an existing file spelled in another case
// is used as it is).
QString filePath(const QString &systemDir);
QString filePath();

// Right-pads to 16 with '^'; a text of 16 or more characters is unchanged.
QString pad(const QString &text);
// The text with every '^' removed.
QString unpad(const QString &text);

// One record's 33 bytes. The caller has validated the fields.
QByteArray encodeRecord(const QString &name, const QString &password, int level);

// Reads every record. False with *error when the file is missing, cannot
// be read or its size is not a multiple of 33.
bool readAll(const QString &path, QList<Operator> *operators, QString *error);

// Looks the operator up: name and password padded to 16 with '^', each
// record's first 16 and next 16 characters compared with them, both in
// lower case; the first record that matches gives the level. A missing or
// unreadable file gives "not found" (the reason in *error when given).
bool checkOperator(const QString &name, const QString &password, int *level, const QString &path,
                   QString *error = nullptr);

// Appends an operator, rewriting the file atomically. Refuses (BadInput)
// an empty name, a name or password longer than 16 characters or holding
// '^', a control character or a character without a single byte, and a
// level other than 0, 1 or 2; refuses (Failed) a name already in the file
// and a file whose size is not a multiple of 33. Nothing is changed then.
enum class AddResult { Ok, BadInput, Failed };
AddResult addOperator(const QString &path, const QString &name, const QString &password, int level, QString *error);

} // namespace Operators

// The login rule: an empty name is ignored; a found operator logs in; the
// third failure of the run ends the attempts.
class LoginAttempts {
public:
    static constexpr int kMaxFailures = 3;
    enum class Result {
        Ignored,   // empty name: nothing happens
        LoggedIn,  // level() holds the operator's level
        TryAgain,  // a failure, the dialog stays open
        Refused,   // the third failure: the program ends
    };

    explicit LoginAttempts(const QString &operatorFile) : m_file(operatorFile) {}

    Result submit(const QString &name, const QString &password);
    int failures() const { return m_failures; }
    int level() const { return m_level; }
    // Why the operator file could not be read, when it could not.
    QString fileError() const { return m_fileError; }

private:
    QString m_file;
    int m_failures = 0;
    int m_level = 0;
    QString m_fileError;
};
