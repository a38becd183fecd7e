#pragma once

#include "link/CuCommands.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The failure window of a programming connection: the installation, the CU
// with its block name, the common warning and the reason (not detected, or
// refused program mode, or the port's own message). On a direct line it
// offers to test/detect the central units again (testRequested).
class TF_Mensaje_nocu : public QDialog {
    Q_OBJECT
public:
    explicit TF_Mensaje_nocu(QWidget *parent = nullptr);

    // Fills the window; `directLine` shows the link to the CU test.
    void setFailure(const CuFailure &failure, bool directLine);
    const CuFailure &failure() const { return m_failure; }
    // The reason lines shown, for a failure kind.
    static QStringList reasonTexts(const CuFailure &failure);

    void L_TESTClick();

signals:
    void testRequested(int cu);

private:
    CuFailure m_failure;
    QLabel *m_installation = nullptr;
    QLabel *m_cu = nullptr;
    QLabel *m_common = nullptr;
    QLabel *m_reason = nullptr;
    QPushButton *m_test = nullptr;
};
