#pragma once

#include <QDialog>

class Link;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;
struct ProgramState;

// "BRX Properties": the link values of the settings file (BRX isolation,
// timers, parity, the modem's baud-rate command). OK stores them, writes the
// settings file at once and hands them to the link.
class TF_BRXStatus_INTER : public QDialog {
    Q_OBJECT
public:
    // `link` may be null (the values then reach the link when it is configured).
    TF_BRXStatus_INTER(ProgramState &state, Link *link, QWidget *parent = nullptr);
    void loadValues();
    void B_OKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ProgramState &m_state;
    Link *m_link;
    QRadioButton *m_isolate1 = nullptr;
    QRadioButton *m_isolate2 = nullptr;
    QLineEdit *m_velTrama = nullptr;
    QLineEdit *m_insert = nullptr;
    QLineEdit *m_update = nullptr;
    QLineEdit *m_modem = nullptr;
    QComboBox *m_parity = nullptr;
    QLineEdit *m_atBaud = nullptr;
};

// "BRX Connection Status": the system port, what the link is doing
// (registering, a CU connection, or neither) and the frames sent and
// accepted. Stays on top; refreshed while shown.
class TF_BRXStatus : public QDialog {
    Q_OBJECT
public:
    TF_BRXStatus(ProgramState &state, Link &link, QWidget *parent = nullptr);
    void refresh();
    void B_PROPClick();
    TF_BRXStatus_INTER *propertiesDialog() const { return m_inter; }
    // The status text for the program state and the current CU.
    static QString statusText(const ProgramState &state, int currentCu);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    ProgramState &m_state;
    Link &m_link;
    QLabel *m_port = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_sent = nullptr;
    QLabel *m_received = nullptr;
    QTimer *m_timer = nullptr;
    TF_BRXStatus_INTER *m_inter = nullptr;
};
