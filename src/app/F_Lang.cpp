#include "app/F_Lang.h"

#include "app/FormKit.h"
#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "platform/Dialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

TF_Lang::TF_Lang(ProgramState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("F_Lang"));
    setWindowTitle(Lang::text(QStringLiteral("F_Lang_caption")));
    setModal(true);

    auto *label2 = new QLabel(Lang::text(QStringLiteral("F_Lang_Label2")), this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_current = new QLabel(this);
    m_current->setObjectName(QStringLiteral("L_IDIOMA"));
    m_current->setStyleSheet(QStringLiteral("font-weight: bold;"));
    auto *head = new QHBoxLayout;
    head->addWidget(label2);
    head->addWidget(m_current, 1);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("Listaa"));
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({Lang::text(QStringLiteral("F_Lang_Listaa_columns0_caption"))});
    m_list->setRootIsDecorated(false);
    m_list->setIconSize(QSize(20, 20));
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { B_OKClick(); });

    QDialogButtonBox *buttons = FormKit::okCancel(this, QStringLiteral("B_OK"), QStringLiteral("B_CANCEL"),
                                                  QStringLiteral("STAN_CANC_H"), false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_Lang::B_OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        m_restart = false;
        reject();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(340, 320);
}

void TF_Lang::showEvent(QShowEvent *event)
{
    fill();
    QDialog::showEvent(event);
}

void TF_Lang::fill()
{
    m_restart = false;
    m_current->setText(m_state.settings.idioma);
    m_list->clear();
    const QIcon icon = Icons::icon(QStringLiteral("language"));
    for (const QString &language : Lang::languages()) {
        auto *item = new QTreeWidgetItem(m_list, {language});
        item->setIcon(0, icon);
    }
}

void TF_Lang::B_OKClick()
{
    QTreeWidgetItem *item = m_list->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString chosen = item->text(0);
    const QString current = m_state.settings.idioma;
    if (chosen.compare(current, Qt::CaseInsensitive) == 0)
        return;
    Dialogs &dialogs = Dialogs::instance();
    if (!dialogs.confirm(Lang::text(QStringLiteral("F_Lang_00")) + QLatin1Char(' ') + current + QStringLiteral(" --> ") + chosen
                         + QLatin1Char('?')))
        return; // the chooser stays open
    m_state.settings.idioma = chosen;
    m_state.putIntoSettings();
    QString error;
    if (!m_state.settings.save(m_state.settings.filePath(), &error))
        dialogs.warning(error);
    m_restart = dialogs.confirm(Lang::text(QStringLiteral("F_Lang_01")) + QLatin1Char('\r') + Lang::text(QStringLiteral("F_Lang_02")));
    accept();
}
