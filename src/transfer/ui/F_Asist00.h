#pragma once

#include "store/InstallationStore.h"
#include "transfer/BlockRules.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

// The new-block wizard ("New Block"): general values (name, central unit
// type, code), the components the type offers, and a summary with
// "Confirm". Confirm adds the block to the installation (its record, its
// table family from the templates, its components and its tree node) and
// closes; the caller then refreshes its tree from addedBlock().
class TF_Asist00 : public QDialog {
    Q_OBJECT
public:
    explicit TF_Asist00(QWidget *parent = nullptr);

    // The installation the block is added to; resets the wizard to step 0.
    void prepare(const QString &workFolder, const QString &installation);
    int step() const { return m_step; }
    // The block added by the last Confirm (name, code, type, components by ORDEN).
    const std::optional<InstallationStore::NewBlock> &addedBlock() const { return m_added; }

    // Shows the wizard modally for `installation` in `workFolder`; the block
    // added, or nothing when the wizard was cancelled.
    static std::optional<InstallationStore::NewBlock> run(QWidget *parent, const QString &workFolder,
                                                          const QString &installation);

    void B_BACKClick();
    void B_NEXTClick();
    void L_CONFIRMClick();

signals:
    void blockAdded(const QString &name);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void goTo(int step);
    int type() const;
    bool leaveGeneral();
    void buildComponents();
    void fillSummary();
    BlockRules::WizardFlags flags() const;

    QString m_folder;
    QString m_installation;
    int m_step = 0;
    int m_componentsType = 0;
    std::optional<InstallationStore::NewBlock> m_added;

    QLabel *m_title;
    QLabel *m_hint;
    QStackedWidget *m_pages;
    QLineEdit *m_name;
    QComboBox *m_type;
    QLineEdit *m_code;
    std::array<QCheckBox *, 8> m_checks{};
    QTreeWidget *m_summary;
    QPushButton *m_back;
    QPushButton *m_next;
};
