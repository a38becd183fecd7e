#pragma once

#include <QString>

#include <stdexcept>

// An error of the table engine: a code and a text for the operator.
class EngineError : public std::runtime_error {
public:
    enum Code : int {
        General = 0,
        FileNotFound = 8710,      // table file missing
        NotATable = 8965,         // a file that is not a table, or lacks its metadata
        TableLocked = 10241,
        FieldNotFound = 9988,
        KeyViolation = 9729,      // a repeated key
        RequiredFieldMissing = 9732,
        TextTooLong = 9733,
        BadStatement = 10498,     // a statement outside the subset
        NotEditing = 10261,
        NoCurrentRecord = 8705,
        InvalidValue = 9730,
        IndexNotFound = 10022,    // no secondary index of that name
        WrongState = 10259,       // an operation the table's state does not allow
    };

    EngineError(int code, const QString &text)
        : std::runtime_error(text.toStdString()), m_code(code), m_text(text)
    {
    }

    int code() const { return m_code; }
    QString text() const { return m_text; }

private:
    int m_code;
    QString m_text;
};

// Thrown by a Table hook to abandon the operation under way (insert, edit,
// post, delete), the way an editor's rule refuses a save.
class Abort : public std::exception {
public:
    const char *what() const noexcept override { return "operation aborted"; }
};
