#include "transfer/ui/F_Blocks_Sum.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "platform/Dialogs.h"
#include "store/Components.h"
#include "store/InstallationStore.h"
#include "store/engine/EngineError.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QString T(const char *key) { return Lang::text(QLatin1String(key)); }
} // namespace

TF_Blocks_Sum::TF_Blocks_Sum(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Blocks_Sum"));
    setWindowTitle(T("F_Blocks_Sum_Caption"));
    setWindowIcon(Icons::icon(QStringLiteral("block")));
    setModal(true);

    auto *heading = new QLabel(T("F_Blocks_Sum_Label1_Caption"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 13pt;"));
    m_installation = new QLabel(this);
    m_installation->setObjectName(QStringLiteral("L_INSTALL"));
    m_installation->setStyleSheet(QStringLiteral("font-weight: bold;"));
    m_folder = new QLabel(this);
    m_folder->setObjectName(QStringLiteral("L_FOLDER"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("Lista"));
    m_list->setRootIsDecorated(false);
    QStringList headers{T("F_Blocks_Sum_Column00"), T("F_Blocks_Sum_Column01"), T("F_Blocks_Sum_Column02")};
    for (int i = 0; i < 8; ++i)
        headers << T((QByteArray("F_Blocks_Sum_Comp") + QByteArray::number(i)).constData());
    m_list->setHeaderLabels(headers);
    m_list->header()->resizeSection(0, 60);
    m_list->header()->resizeSection(1, 120);
    m_list->header()->resizeSection(2, 230);
    // The component marks are centred under their titles; the last column
    // is not stretched, so its marks stay under its title too.
    m_list->header()->setStretchLastSection(false);
    for (int c = 3; c < headers.size(); ++c) {
        m_list->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
        m_list->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    }

    auto *close = new QPushButton(Lang::message(QStringLiteral("STAN_CLOSE")).remove(QLatin1Char('&')), this);
    close->setObjectName(QStringLiteral("B_CLOSE"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *form = new QFormLayout;
    form->addRow(T("F_Blocks_Sum_Label2_Caption"), m_installation);
    form->addRow(T("F_Blocks_Sum_Label3_Caption"), m_folder);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(1240, 360);
}

bool TF_Blocks_Sum::load(const QString &workFolder, const QString &installation)
{
    m_installation->setText(installation);
    m_folder->setText(workFolder);
    m_list->clear();
    QList<InstallationStore::BlockSummaryRow> rows;
    try {
        rows = InstallationStore::blockSummary(workFolder, installation);
    } catch (const StoreError &e) {
        Dialogs::instance().warning(e.text());
        return false;
    } catch (const EngineError &e) {
        Dialogs::instance().warning(e.text());
        return false;
    }
    QFont bold = m_list->font();
    bold.setBold(true);
    for (const InstallationStore::BlockSummaryRow &row : rows) {
        QStringList cells{QStringLiteral("%1").arg(row.code, 2, 10, QLatin1Char('0')), row.name.left(50), row.typeText.left(40)};
        for (const Components::Component &c : Components::kByOrden)
            cells << (row.components[size_t(c.orden)] ? QStringLiteral("X") : QStringLiteral("-"));
        auto *item = new QTreeWidgetItem(cells);
        for (int c = 3; c < cells.size(); ++c) {
            item->setTextAlignment(c, Qt::AlignCenter);
            if (cells[c] == QLatin1String("X")) {
                item->setFont(c, bold);
                item->setForeground(c, QColor(Qt::red));
            }
        }
        m_list->addTopLevelItem(item);
    }
    // Long block names and type texts are shown whole.
    for (int c = 1; c <= 2; ++c) {
        const int least = m_list->header()->sectionSize(c);
        m_list->resizeColumnToContents(c);
        if (m_list->header()->sectionSize(c) < least)
            m_list->header()->resizeSection(c, least);
    }
    return true;
}

void TF_Blocks_Sum::run(QWidget *parent, const QString &workFolder, const QString &installation)
{
    TF_Blocks_Sum window(parent);
    if (window.load(workFolder, installation))
        window.exec();
}
