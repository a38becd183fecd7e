#pragma once

#include <QDialog>

class QLabel;
class QTreeWidget;
struct ProgramState;

// The language chooser: the current language and every language of the
// language file. Choosing another one asks for confirmation, records it in
// the settings file and offers to close the program so that it applies.
class TF_Lang : public QDialog {
    Q_OBJECT
public:
    explicit TF_Lang(ProgramState &state, QWidget *parent = nullptr);

    // True when the chooser closed with a language changed and the restart
    // accepted: the main window then closes.
    bool restartRequested() const { return m_restart; }
    QTreeWidget *list() const { return m_list; }

    // Fills the list (done on every showing).
    void fill();
    // OK or a double click on an entry.
    void B_OKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ProgramState &m_state;
    QLabel *m_current;
    QTreeWidget *m_list;
    bool m_restart = false;
};
