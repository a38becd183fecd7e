#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
struct ProgramState;

// "Add port to the list": a COM number 1..16 (chosen, never typed) and a
// description of up to 30 characters.
class TF_Ports_New : public QDialog {
    Q_OBJECT
public:
    explicit TF_Ports_New(QWidget *parent = nullptr);
    // Clears the fields before the dialog is shown.
    void reset();
    int number() const;          // 1..16, 0 when none chosen
    QString description() const;

private:
    void B_OKClick();
    QComboBox *m_number = nullptr;
    QLineEdit *m_description = nullptr;
};

// "Port edit": the new description of a port.
class TF_Ports_Edit : public QDialog {
    Q_OBJECT
public:
    explicit TF_Ports_Edit(QWidget *parent = nullptr);
    // Shows the dialog on `current`; the new text on OK, `current` on Cancel.
    QString edit(const QString &current);

private:
    QLineEdit *m_description = nullptr;
};

// "Erase port of the list": the listed ports; the system and proximity
// ports are refused, any other is erased after a question.
class TF_Ports_Erase : public QDialog {
    Q_OBJECT
public:
    TF_Ports_Erase(ProgramState &state, QWidget *parent = nullptr);
    void fill();
    void B_ERASEClick();

private:
    ProgramState &m_state;
    QTreeWidget *m_list = nullptr;
};

// "Serial Ports": the listed ports twice, as candidates for the system port
// (Lista1) and for the proximity port (Lista2), the selected one marked in
// each. Choosing the system port also writes the open installation's
// PUERTO. The port entries live in the program's settings and are written
// with the settings file.
class TF_Ports : public QDialog {
    Q_OBJECT
public:
    TF_Ports(ProgramState &state, QWidget *parent = nullptr);

    // Fills both lists from the settings (Muestra).
    void fillLists();
    // The pop-up commands, on the current row of their list.
    void Stablishsystemport1Click();
    void Stablishproximityport1Click();
    void changeDescription(QTreeWidget *list);
    void B_ADDClick();
    void B_ERASEClick();

    TF_Ports_New *newDialog() const { return m_new; }
    TF_Ports_Edit *editDialog() const { return m_edit; }
    TF_Ports_Erase *eraseDialog() const { return m_erase; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillList(QTreeWidget *list, bool system);
    void portsChanged();

    ProgramState &m_state;
    QLabel *m_installation = nullptr;
    QTreeWidget *m_lista1 = nullptr;
    QTreeWidget *m_lista2 = nullptr;
    TF_Ports_New *m_new = nullptr;
    TF_Ports_Edit *m_edit = nullptr;
    TF_Ports_Erase *m_erase = nullptr;
};
