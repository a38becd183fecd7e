#include "transfer/ui/F_Borra_Bl.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "platform/Dialogs.h"
#include "store/InstallationStore.h"
#include "store/engine/EngineError.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString T(const char *key) { return Lang::text(QLatin1String(key)); }
} // namespace

TF_Borra_Bl::TF_Borra_Bl(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Borra_Bl"));
    setWindowTitle(T("F_Borra_Bl_Caption"));
    setModal(true);

    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::pixmap(QStringLiteral("block_off"), 48));
    auto *question = new QLabel(T("F_Borra_Bl_L_QUE_Caption"), this);
    question->setObjectName(QStringLiteral("L_QUE"));
    m_block = new QLabel(this);
    m_block->setObjectName(QStringLiteral("L_BLOCK"));
    m_block->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 12pt; color: #a01010;"));

    auto *ok = new QPushButton(T("VALOR_ACEP"), this);
    ok->setObjectName(QStringLiteral("B_OK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *no = new QPushButton(T("F_Borra_Bl_B_NO_Caption"), this);
    no->setObjectName(QStringLiteral("B_NO"));
    no->setDefault(true);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto *texts = new QVBoxLayout;
    texts->addWidget(question);
    texts->addWidget(m_block);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(no);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(340);
}

void TF_Borra_Bl::setBlock(const QString &block) { m_block->setText(block); }

bool TF_Borra_Bl::ask(QWidget *parent, const QString &block)
{
    TF_Borra_Bl dialog(parent);
    dialog.setBlock(block);
    return dialog.exec() == QDialog::Accepted;
}

bool TF_Borra_Bl::run(QWidget *parent, const QString &workFolder, const QString &installation, const QString &block)
{
    if (!ask(parent, block))
        return false;
    QString failure;
    StoreOutcome outcome;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        outcome = InstallationStore::deleteBlock(workFolder, installation, block);
    } catch (const StoreError &e) {
        failure = e.text();
    } catch (const EngineError &e) {
        failure = e.text();
    }
    QApplication::restoreOverrideCursor();
    if (failure.isEmpty() && !outcome)
        failure = outcome.message;
    if (!failure.isEmpty()) {
        Dialogs::instance().warning(failure);
        return false;
    }
    return true;
}
