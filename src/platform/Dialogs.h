#pragma once

#include <QString>
#include <QStringList>

// Every message box, question and file or folder choice of the program goes
// through this service. The windows install the Qt implementation; the
// command line and the tests install their own (scripted) answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void warning(const QString &text, const QString &title = QString()) = 0;
    virtual void information(const QString &text, const QString &title = QString()) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool confirm(const QString &text, const QString &title = QString()) = 0;
    // File and folder choices; an empty result means cancelled.
    virtual QString openFile(const QString &title, const QString &folder, const QString &filter) = 0;
    virtual QString saveFile(const QString &title, const QString &folder, const QString &filter) = 0;
    virtual QString chooseFolder(const QString &title, const QString &folder) = 0;
    // The modeless message window with its two lines.
    virtual void messageWindow(const QString &line1, const QString &line2) = 0;

    // The service in force; a non-interactive one until another is installed.
    static Dialogs &instance();
    // Installs `dialogs` (not owned); nullptr restores the non-interactive one.
    static void install(Dialogs *dialogs);
};

// Answers without asking anybody: questions get `confirmAnswer`, choices are
// cancelled, and every text shown is kept (and echoed to stderr when asked).
class NonInteractiveDialogs : public Dialogs {
public:
    explicit NonInteractiveDialogs(bool confirmAnswer = false, bool echo = false)
        : m_confirmAnswer(confirmAnswer), m_echo(echo)
    {
    }

    void warning(const QString &text, const QString &title = QString()) override;
    void information(const QString &text, const QString &title = QString()) override;
    bool confirm(const QString &text, const QString &title = QString()) override;
    QString openFile(const QString &, const QString &, const QString &) override { return QString(); }
    QString saveFile(const QString &, const QString &, const QString &) override { return QString(); }
    QString chooseFolder(const QString &, const QString &) override { return QString(); }
    void messageWindow(const QString &line1, const QString &line2) override;

    void setConfirmAnswer(bool answer) { m_confirmAnswer = answer; }
    const QStringList &shown() const { return m_shown; }

private:
    void record(const QString &kind, const QString &text);

    bool m_confirmAnswer;
    bool m_echo;
    QStringList m_shown;
};
