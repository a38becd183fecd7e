#include "editors/ui/F_Componente.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "store/Components.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TF_Componente::TF_Componente(Mode mode, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(mode == Add ? QStringLiteral("F_NewComp") : QStringLiteral("F_DelComp"));
    setWindowTitle(Lang::text(mode == Add ? QStringLiteral("F_NewComp_caption") : QStringLiteral("F_DelComp_caption")));
    auto *v = new QVBoxLayout(this);
    if (mode == Delete) {
        auto *choose = new QLabel(Lang::text(QStringLiteral("F_DelComp_Label1")), this);
        v->addWidget(choose);
    } else {
        // The chooser says what it is for, also where no window frame shows its title.
        auto *heading = new QLabel(windowTitle(), this);
        heading->setObjectName(QStringLiteral("L_HEADING"));
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        v->addWidget(heading);
    }
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LB_COMP"));
    m_list->setIconSize(QSize(20, 20));
    for (const char *item : Components::kChooserOrder) {
        const Components::Component *c = Components::byItem(QLatin1String(item));
        auto *it = new QListWidgetItem(Icons::icon(Icons::forVocabularyKey(QLatin1String(c->word))),
                                       Lang::word(QLatin1String(c->word)), m_list);
        it->setData(Qt::UserRole, QLatin1String(c->item));
    }
    m_list->setMinimumHeight(8 * 26);
    v->addWidget(m_list);
    if (mode == Delete) {
        auto *warning = new QLabel(Lang::lines(QStringLiteral("F_DelComp_Label"), 2, 4).replace(QLatin1Char('\r'),
                                                                                                QLatin1Char('\n')),
                                   this);
        warning->setObjectName(QStringLiteral("L_WARNING"));
        warning->setStyleSheet(QStringLiteral("QLabel{color:#b00020;}"));
        v->addWidget(warning);
    }
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(Lang::text(QStringLiteral("F_Princ_B_OK_caption")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("B_OK"));
    QPushButton *cancel =
        buttons->addButton(Lang::text(QStringLiteral("F_Princ_B_CANCEL_caption")), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("B_CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    v->addWidget(buttons);
}

QString TF_Componente::chosenItem() const
{
    const QListWidgetItem *it = m_list->currentItem();
    return it ? it->data(Qt::UserRole).toString() : QString();
}
