#include "app/F_Valores_Generales.h"

#include "app/FormKit.h"
#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

TF_Valores_Generales::TF_Valores_Generales(ProgramState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("F_Valores_Generales"));
    setWindowTitle(Lang::text(QStringLiteral("F_Valores_Generales_Caption")));
    setModal(true);

    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::pixmap(QStringLiteral("options"), 32));
    auto *head = new QHBoxLayout;
    head->addWidget(icon);
    head->addWidget(FormKit::heading(QStringLiteral("Label6"),
                                     Lang::text(QStringLiteral("F_Valores_Generales_Label6_Caption")), this), 1);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Lista_CHECK"));
    for (int i = 1; i <= 3; ++i) {
        auto *item = new QListWidgetItem(Lang::text(QStringLiteral("F_Valores_Generales_Lista_CHECK_Items%1").arg(i)), m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(0, 28));
    }
    m_list->setFixedHeight(3 * 28 + 2 * m_list->frameWidth() + 4);

    QDialogButtonBox *buttons = FormKit::okCancel(this, QStringLiteral("B_OK"), QStringLiteral("B_CANCEL"),
                                                  QStringLiteral("STAN_CANC_H"), false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_Valores_Generales::B_OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void TF_Valores_Generales::loadValues()
{
    m_list->item(0)->setCheckState(m_state.askUpdateAfterEdit ? Qt::Checked : Qt::Unchecked);
    m_list->item(1)->setCheckState(m_state.askConfirmDelete ? Qt::Checked : Qt::Unchecked);
    m_list->item(2)->setCheckState(m_state.settings.autoTest == QLatin1String("True") ? Qt::Checked : Qt::Unchecked);
}

void TF_Valores_Generales::showEvent(QShowEvent *event)
{
    loadValues();
    QDialog::showEvent(event);
}

void TF_Valores_Generales::B_OKClick()
{
    m_state.askUpdateAfterEdit = m_list->item(0)->checkState() == Qt::Checked;
    m_state.askConfirmDelete = m_list->item(1)->checkState() == Qt::Checked;
    m_state.settings.autoTest = m_list->item(2)->checkState() == Qt::Checked ? QStringLiteral("True") : QStringLiteral("False");
    accept();
}
