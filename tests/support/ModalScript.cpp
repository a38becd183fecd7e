#include "support/ModalScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

ModalScript::ModalScript()
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalScript::poll);
    m_timer.start();
}

ModalScript::~ModalScript() { m_timer.stop(); }

void ModalScript::expect(const QString &objectName, Action action) { m_steps.enqueue(Step{objectName, std::move(action)}); }

void ModalScript::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    auto *dialog = qobject_cast<QDialog *>(modal);
    if (!dialog || !dialog->isVisible()) {
        m_waitingOn = nullptr;
        return;
    }
    if (!m_steps.isEmpty() && m_steps.head().name == dialog->objectName()) {
        const Step step = m_steps.dequeue();
        m_seen << step.name;
        m_waitingOn = nullptr;
        step.action(dialog);
        return;
    }
    // Give a step a little time (the dialog may be about to close itself).
    if (m_waitingOn != dialog) {
        m_waitingOn = dialog;
        m_waitTicks = 0;
        return;
    }
    if (++m_waitTicks > 200) {
        m_unexpected << dialog->objectName();
        dialog->reject();
        m_waitingOn = nullptr;
    }
}

void ModalScript::type(QWidget *dialog, const QString &editName, const QString &text)
{
    auto *edit = dialog->findChild<QLineEdit *>(editName);
    if (!edit)
        qFatal("no line edit %s", qPrintable(editName));
    edit->clear();
    QTest::keyClicks(edit, text);
}

void ModalScript::click(QWidget *dialog, const QString &buttonName)
{
    auto *button = dialog->findChild<QAbstractButton *>(buttonName);
    if (!button)
        qFatal("no button %s", qPrintable(buttonName));
    button->click();
}
