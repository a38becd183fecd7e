#pragma once

#include <QDialog>
#include <QString>

class QListWidget;

// The component chooser of the installation window: "New Component" lists
// the eight components to add; "Delete component" the same eight with the
// warning that the complete configuration must be sent again afterwards.
class TF_Componente : public QDialog {
    Q_OBJECT
public:
    enum Mode { Add, Delete };
    explicit TF_Componente(Mode mode, QWidget *parent = nullptr);

    // The ITEM code of the chosen component (ACC, APT, ...); empty when none.
    QString chosenItem() const;
    QListWidget *list() const { return m_list; }

private:
    QListWidget *m_list = nullptr;
};
