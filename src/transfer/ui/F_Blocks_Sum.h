#pragma once

#include <QDialog>

class QLabel;
class QTreeWidget;

// "Blocks summary (Database)": every block of the installation file, in file
// order, with its number, name, type and an "X" (bold red) or "-" for each
// of its eight components.
class TF_Blocks_Sum : public QDialog {
    Q_OBJECT
public:
    explicit TF_Blocks_Sum(QWidget *parent = nullptr);

    // Reads the installation file and the blocks' components; false (with
    // the reason shown) when the installation file cannot be read.
    bool load(const QString &workFolder, const QString &installation);

    static void run(QWidget *parent, const QString &workFolder, const QString &installation);

private:
    QLabel *m_installation;
    QLabel *m_folder;
    QTreeWidget *m_list;
};
