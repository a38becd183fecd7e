#pragma once

#include <QObject>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QDialog;
class QWidget;

// Drives modal dialogs in tests: each step waits for the modal dialog of
// the given object name to be on top, then runs its action (fill fields,
// press a button). A modal dialog that no step expects is rejected after a
// short while and recorded in unexpected(), so a test never hangs on it.
class ModalScript : public QObject {
public:
    using Action = std::function<void(QDialog *)>;

    ModalScript();
    ~ModalScript() override;

    void expect(const QString &objectName, Action action);
    int remaining() const { return int(m_steps.size()); }
    QStringList seen() const { return m_seen; }
    QStringList unexpected() const { return m_unexpected; }

    // Helpers for actions: set a line edit's text, click a button, by name.
    static void type(QWidget *dialog, const QString &editName, const QString &text);
    static void click(QWidget *dialog, const QString &buttonName);

private:
    void poll();
    struct Step {
        QString name;
        Action action;
    };
    QQueue<Step> m_steps;
    QTimer m_timer;
    QStringList m_seen;
    QStringList m_unexpected;
    QWidget *m_waitingOn = nullptr;
    int m_waitTicks = 0;
};
