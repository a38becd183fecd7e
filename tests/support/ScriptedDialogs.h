#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// A Dialogs service for tests: answers come from queues filled by the test,
// and every call is recorded. A question with nothing queued is answered No
// and a choice with nothing queued is cancelled; both are counted in
// unexpected() so a test can notice a question it did not foresee.
class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        QString kind;   // warning, information, confirm, openFile, saveFile, chooseFolder, messageWindow
        QString text;   // the text shown (for choices: the title)
        QString extra;  // folder and filter of a choice; second line of a message window
    };

    ScriptedDialogs() { Dialogs::install(this); }
    ~ScriptedDialogs() override { Dialogs::install(nullptr); }

    void queueConfirm(bool answer) { m_confirms.enqueue(answer); }
    // A file or folder answer; an empty text stands for Cancel.
    void queueChoice(const QString &path) { m_choices.enqueue(path); }

    void warning(const QString &text, const QString &title = QString()) override;
    void information(const QString &text, const QString &title = QString()) override;
    bool confirm(const QString &text, const QString &title = QString()) override;
    QString openFile(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &folder, const QString &filter) override;
    QString chooseFolder(const QString &title, const QString &folder) override;
    void messageWindow(const QString &line1, const QString &line2) override;

    const QList<Call> &calls() const { return m_calls; }
    // Kinds of the calls in order ("warning", "confirm", ...).
    QStringList kinds() const;
    int count(const QString &kind) const;
    int unexpected() const { return m_unexpected; }
    int pending() const { return int(m_confirms.size() + m_choices.size()); }
    void clear();

private:
    QString choice();
    QList<Call> m_calls;
    QQueue<bool> m_confirms;
    QQueue<QString> m_choices;
    int m_unexpected = 0;
};
