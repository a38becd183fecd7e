#include "app/F_Sel_Ini.h"

#include "app/FormKit.h"
#include "common/ui/Icons.h"
#include "frame/Lang.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

TF_Sel_Ini::TF_Sel_Ini(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Sel_Ini"));
    setWindowTitle(Lang::text(QStringLiteral("F_Sel_Ini_Caption")));
    setModal(true);

    auto make = [this](const char *name, const char *key) {
        auto *r = new QRadioButton(Lang::text(QLatin1String(key)), this);
        r->setObjectName(QLatin1String(name));
        return r;
    };
    m_r1 = make("R1", "F_Sel_Ini_R1_Caption");
    m_r2 = make("R2", "F_Sel_Ini_R2_Caption");
    m_r3 = make("R3", "F_Sel_Ini_R3_Caption");
    m_r1->setIcon(Icons::icon(QStringLiteral("open")));
    m_r2->setIcon(Icons::icon(QStringLiteral("installation")));
    m_r3->setIcon(Icons::icon(QStringLiteral("new_installation")));
    for (QRadioButton *r : {m_r1, m_r2, m_r3})
        r->setIconSize(QSize(24, 24));
    // Checks are set by prepare(); the buttons are not exclusive among
    // themselves so that none need be checked.
    auto *group = new QButtonGroup(this);
    group->setExclusive(false);
    for (QRadioButton *r : {m_r1, m_r2, m_r3}) {
        group->addButton(r);
        connect(r, &QRadioButton::toggled, this, [this, r](bool on) {
            if (!on)
                return;
            for (QRadioButton *other : {m_r1, m_r2, m_r3})
                if (other != r)
                    other->setChecked(false);
        });
    }

    auto *logo = new QLabel(this);
    logo->setPixmap(Icons::pixmap(QStringLiteral("veltrona"), 48));
    logo->setAlignment(Qt::AlignTop);
    auto *choices = new QVBoxLayout;
    choices->addWidget(FormKit::heading(QStringLiteral("L_TITLE"), Lang::text(QStringLiteral("F_Sel_Ini_Caption")), this));
    choices->addSpacing(6);
    choices->addWidget(m_r1);
    choices->addWidget(m_r2);
    choices->addWidget(m_r3);
    auto *top = new QHBoxLayout;
    top->addWidget(logo);
    top->addSpacing(10);
    top->addLayout(choices, 1);

    QDialogButtonBox *buttons = FormKit::okCancel(this, QStringLiteral("B_OK"), QStringLiteral("B_CANCEL"),
                                                  QStringLiteral("STAN_CANC_H"), false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_Sel_Ini::B_OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        m_choice = QString::fromLatin1(kNothing);
        reject();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    setMinimumWidth(400);
}

bool TF_Sel_Ini::prepare(int level, bool hasLastInstallation)
{
    m_choice = QString::fromLatin1(kNothing);
    m_r1->setEnabled(true);
    m_r3->setEnabled(level <= 0);
    if (hasLastInstallation) {
        m_r2->setEnabled(true);
        m_r2->setChecked(true);
        m_r1->setChecked(false);
        m_r3->setChecked(false);
        return true;
    }
    if (level >= 2)
        return false;
    m_r2->setEnabled(false);
    m_r2->setChecked(false);
    if (level <= 0) {
        m_r3->setChecked(true);
        m_r1->setChecked(false);
    } else {
        // An operator who may not create installations starts on the one
        // choice open to him rather than on a disabled one.
        m_r1->setChecked(true);
        m_r3->setChecked(false);
    }
    return true;
}

void TF_Sel_Ini::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_r2->isEnabled())
        m_r2->setFocus();
    else if (m_r3->isChecked())
        m_r3->setFocus();
    else
        m_r1->setFocus();
}

void TF_Sel_Ini::B_OKClick()
{
    if (m_r1->isChecked() && m_r1->isEnabled())
        m_choice = QString::fromLatin1(kOpenExisting);
    else if (m_r2->isChecked() && m_r2->isEnabled())
        m_choice = QString::fromLatin1(kOpenLast);
    else if (m_r3->isChecked() && m_r3->isEnabled())
        m_choice = QString::fromLatin1(kNew);
    else
        m_choice = QString::fromLatin1(kNothing);
    accept();
}
