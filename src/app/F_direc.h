#pragma once

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QTreeView;
struct ProgramState;

// The Work Folder dialog: a folder tree preset to the work folder, a label
// echoing the chosen folder, OK and Cancel. OK makes the chosen folder the
// work folder (ending in '/') and writes the settings file.
class TF_direc : public QDialog {
    Q_OBJECT
public:
    explicit TF_direc(ProgramState &state, QWidget *parent = nullptr);

    // Presets the tree to `folder`.
    void setFolder(const QString &folder);
    QString chosenFolder() const;

    void B_OKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ProgramState &m_state;
    QFileSystemModel *m_model;
    QTreeView *m_tree;
    QLabel *m_chosen;
};
