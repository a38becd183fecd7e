#pragma once

#include "transfer/BlockRules.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QTreeWidget;

// "Load blocks": the blocks of another installation file (Lista1), the
// blocks chosen to load with their new names and codes (Lista2), and "Load",
// which copies each chosen block (its table family and its record under the
// new name and code) into the open installation and adds it to the tree.
class TF_Load_B : public QDialog {
    Q_OBJECT
public:
    explicit TF_Load_B(QWidget *parent = nullptr);

    // Clears the lists and the path and sets the target installation.
    void prepare(const QString &workFolder, const QString &installation);
    // The names of the blocks loaded by the last "Load", in order.
    QStringList loadedBlocks() const { return m_loaded; }
    bool blocksLoaded() const { return !m_loaded.isEmpty(); }

    // Shows the window modally; the names of the blocks loaded (empty when
    // none was).
    static QStringList run(QWidget *parent, const QString &workFolder, const QString &installation);

    // Reads the source block list from an installation file.
    void choose(const QString &path);
    void SpeedButton1Click();
    void AddClick();
    void NoAddClick();
    void B_YESClick();

private:
    struct Source {
        QString name;
        int code = 0;
        QString type;
    };
    struct Chosen {
        QString sourceName;
        QString newName;
        int newCode = 0;
        QString type;
    };
    void fillChosen();

    QString m_folder;
    QString m_installation;
    QString m_path;
    QList<Source> m_sources;
    QList<Chosen> m_chosen;
    QStringList m_loaded;

    QLabel *m_target;
    QLineEdit *m_pathEdit;
    QTreeWidget *m_list1;
    QTreeWidget *m_list2;
};
