#pragma once

#include <QString>

#include <stdexcept>

// A failure of the installation store that the caller cannot recover from in
// place: an unreadable or damaged installation file, a file that could not be
// written. The text is ready to show to the operator.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString &text)
        : std::runtime_error(text.toStdString()), m_text(text)
    {
    }
    QString text() const { return m_text; }

private:
    QString m_text;
};

// The answer of a store operation that may be refused: ok, or refused with the
// message the window shows. Nothing is shown by the store itself.
struct StoreOutcome {
    bool ok = true;
    QString message;

    static StoreOutcome success() { return {}; }
    static StoreOutcome refused(const QString &text) { return {false, text}; }
    explicit operator bool() const { return ok; }
};
