#include "app/About.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/Settings.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(Lang::text(QStringLiteral("AboutBox_Caption")));
    setModal(true);

    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("ProgramIcon"));
    logo->setPixmap(Icons::pixmap(QStringLiteral("veltrona"), 64));
    logo->setAlignment(Qt::AlignTop);

    auto *product = new QLabel(QStringLiteral("Veltrona"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    product->setFont(big);
    auto *version = new QLabel(QStringLiteral("v") + QLatin1String(Settings::kVersion), this);
    version->setObjectName(QStringLiteral("Version"));
    auto *comments = new QLabel(Lang::text(QStringLiteral("AboutBox_Comments")), this);
    comments->setObjectName(QStringLiteral("Comments"));
    comments->setWordWrap(true);

    auto *texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(comments);
    texts->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(logo);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *web = buttons->addButton(Lang::text(QStringLiteral("AboutBox_B_WEB_Caption")), QDialogButtonBox::ActionRole);
    web->setObjectName(QStringLiteral("B_WEB"));
    QPushButton *pc = buttons->addButton(Lang::text(QStringLiteral("AboutBox_B_THISPC_Caption")), QDialogButtonBox::ActionRole);
    pc->setObjectName(QStringLiteral("B_THISPC"));
    QPushButton *ok = buttons->addButton(Lang::message(QStringLiteral("VALOR_ACEP")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(web, &QPushButton::clicked, this, &TAboutBox::B_WEBClick);
    connect(pc, &QPushButton::clicked, this, &TAboutBox::B_THISPCClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);
    setMinimumSize(440, 220);
}

void TAboutBox::B_WEBClick() { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebSite))); }

void TAboutBox::B_THISPCClick()
{
    // The system information tools commonly found on this platform, by
    // their fixed paths; the first one present is started on its own.
    static const char *const tools[] = {"/usr/bin/hardinfo2", "/usr/bin/hardinfo", "/usr/bin/gnome-system-monitor",
                                        "/usr/bin/ksysguard", "/usr/bin/plasma-systemmonitor"};
    for (const char *tool : tools) {
        const QString path = QString::fromLatin1(tool);
        if (QFileInfo(path).isExecutable() && QProcess::startDetached(path, {}))
            return;
    }
    if (m_pcInfo)
        m_pcInfo->exec();
}
