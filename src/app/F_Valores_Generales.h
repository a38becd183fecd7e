#pragma once

#include <QDialog>

class QListWidget;
struct ProgramState;

// The Options dialog: three check boxes for the two editing options kept in
// memory and the settings' AutoTest. Showing it reads the current values;
// OK stores them (AutoTest is written at the next settings write); Cancel
// changes nothing.
class TF_Valores_Generales : public QDialog {
    Q_OBJECT
public:
    explicit TF_Valores_Generales(ProgramState &state, QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }
    // Fills the boxes from the program's values (done on every showing).
    void loadValues();
    void B_OKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ProgramState &m_state;
    QListWidget *m_list;
};
