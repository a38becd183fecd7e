#pragma once

#include <QDialog>

// The about box: product name, version, a short description, OK; "Web"
// opens the program's web site in the browser and "This PC" starts the
// system's information tool (or shows the PC information window when the
// system has none).
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr const char *kWebSite = "https://www.veltrona.example/";

    explicit TAboutBox(QWidget *parent = nullptr);

    // The PC information window shown by "This PC" when the system has no
    // information tool of its own.
    void setPcInformationWindow(QDialog *window) { m_pcInfo = window; }

    void B_WEBClick();
    void B_THISPCClick();

private:
    QDialog *m_pcInfo = nullptr;
};
