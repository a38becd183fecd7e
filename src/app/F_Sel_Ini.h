#pragma once

#include <QDialog>

class QRadioButton;

// The opening choice shown after the login: open an existing installation,
// open the last one or create a new one.
class TF_Sel_Ini : public QDialog {
    Q_OBJECT
public:
    static constexpr const char *kOpenExisting = "ABRIR_EXIST";
    static constexpr const char *kOpenLast = "ABRIR_LAST";
    static constexpr const char *kNew = "NUEVA";
    static constexpr const char *kNothing = "NOTHING";

    explicit TF_Sel_Ini(QWidget *parent = nullptr);

    // Sets the buttons for an operator of `level` and whether a last
    // installation exists. Returns false when the operator may not go on
    // (level 2 or higher and no last installation).
    bool prepare(int level, bool hasLastInstallation);

    // "ABRIR_EXIST", "ABRIR_LAST", "NUEVA", or "NOTHING" after Cancel.
    QString choice() const { return m_choice; }

    QRadioButton *r1() const { return m_r1; }
    QRadioButton *r2() const { return m_r2; }
    QRadioButton *r3() const { return m_r3; }

    void B_OKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QRadioButton *m_r1, *m_r2, *m_r3;
    QString m_choice = QString::fromLatin1(kNothing);
};
