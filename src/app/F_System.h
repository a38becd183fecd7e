#pragma once

#include <QDialog>

class QPlainTextEdit;
struct ProgramState;

// The PC information window: a read-only report of this computer in the
// sections Version, CPU, Memory, Platform, Windows, SystemDir, Mouse,
// NetWork add., Windows log and Environment. Creating it sets the
// program's system folder.
class TF_System : public QDialog {
    Q_OBJECT
public:
    explicit TF_System(ProgramState &state, QWidget *parent = nullptr);

    // Builds the report again (done on every showing).
    void refresh();
    QString report() const;
    // The report's text, built from the machine as it is now.
    static QString buildReport(const QString &systemFolder);

protected:
    void showEvent(QShowEvent *event) override;

private:
    ProgramState &m_state;
    QPlainTextEdit *m_text;
};
