#include "app/Splash.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/Settings.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TSplash::TSplash(QWidget *parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Splash"));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setStyleSheet(QStringLiteral(
        "#Panel1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #274868, stop:1 #1b3550);"
        " border: 1px solid #14283d; }"
        "QLabel { color: #ffffff; }"
        "QProgressBar { background: #1b3550; border: 1px solid #5f86ad; border-radius: 3px; height: 10px; }"
        "QProgressBar::chunk { background: #7fb3e6; border-radius: 2px; }"));

    auto *logo = new QLabel(panel);
    logo->setPixmap(Icons::pixmap(QStringLiteral("veltrona_light"), 64));
    auto *name = new QLabel(QStringLiteral("Veltrona"), panel);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    name->setFont(big);
    auto *version = new QLabel(QStringLiteral("v") + QLatin1String(Settings::kVersion), panel);
    version->setObjectName(QStringLiteral("Version"));

    m_bar = new QProgressBar(panel);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setRange(0, kSteps);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_bar->setFixedHeight(10);
    m_status = new QLabel(QStringLiteral("Initializing ..."), panel);
    m_status->setObjectName(QStringLiteral("Status"));

    auto *titles = new QVBoxLayout;
    titles->addWidget(name);
    titles->addWidget(version);
    auto *head = new QHBoxLayout;
    head->addWidget(logo);
    head->addSpacing(12);
    head->addLayout(titles, 1);

    auto *inner = new QVBoxLayout(panel);
    inner->setContentsMargins(24, 24, 24, 18);
    inner->addLayout(head);
    inner->addStretch(1);
    inner->addWidget(m_bar);
    inner->addWidget(m_status);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    setFixedSize(420, 220);

    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &TSplash::Timer1Timer);
}

int TSplash::progress() const { return m_bar->value(); }
QString TSplash::status() const { return m_status->text(); }

void TSplash::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen())
        move(screen->geometry().center() - rect().center());
    m_counter = 0;
    m_bar->setValue(0);
    m_timer.start();
}

void TSplash::Timer1Timer()
{
    ++m_counter;
    m_bar->setValue(m_counter);
    if (m_counter == 8)
        m_status->setText(QStringLiteral("Setting up ..."));
    if (m_counter >= kSteps) {
        m_timer.stop();
        accept();
    }
}
