#pragma once

#include <QDialog>

class QLabel;

// "Delete block": asks "Do you want to delete block ?" with the block's
// name; only "OK" lets the block be deleted.
class TF_Borra_Bl : public QDialog {
    Q_OBJECT
public:
    explicit TF_Borra_Bl(QWidget *parent = nullptr);

    void setBlock(const QString &block);

    // Asks about `block`; true for OK.
    static bool ask(QWidget *parent, const QString &block);
    // Asks and, on OK, deletes the block from the installation (its record,
    // its tree node in both tree files, its tables). True when the block was
    // deleted; a failure is shown and gives false.
    static bool run(QWidget *parent, const QString &workFolder, const QString &installation, const QString &block);

private:
    QLabel *m_block;
};
