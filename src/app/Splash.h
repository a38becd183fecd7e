#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;

// The splash window: borderless, centred, with the program's name and
// version, a progress bar and a status line. Once shown it advances the bar
// every 100 ms from 0 to 10, says "Setting up ..." at 8 and closes itself
// at 10.
class TSplash : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTickMs = 100;
    static constexpr int kSteps = 10;

    explicit TSplash(QWidget *parent = nullptr);

    int progress() const;
    QString status() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Timer1Timer();

    QTimer m_timer;
    int m_counter = 0;
    QProgressBar *m_bar;
    QLabel *m_status;
};
