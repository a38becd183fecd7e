#include "transfer/ui/F_Asist00.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "platform/Dialogs.h"
#include "store/SafeName.h"
#include "store/StoreTexts.h"
#include "store/engine/EngineError.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString T(const char *key) { return Lang::text(QLatin1String(key)); }

const char *const kStepTitles[] = {"F_Asist00_Step0_caption", "F_Asist00_Step1_caption", "F_Asist00_Step2_caption"};
const char *const kStepHints[] = {"F_Asist00_Step0_hint", "F_Asist00_Step1_hint", "F_Asist00_Step2_hint"};
const char *const kCheckNames[] = {"CB_ACC", "CB_APT", "CB_GUD", "CB_IND", "CB_ALA", "CB_SCH", "CB_LCT", "CB_ACT"};

} // namespace

TF_Asist00::TF_Asist00(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("F_Asist00"));
    setWindowTitle(T("F_Asist00_Caption"));
    setWindowIcon(Icons::icon(QStringLiteral("block")));
    setModal(true);

    auto *headBox = new QWidget(this);
    headBox->setAutoFillBackground(true);
    QPalette pal = headBox->palette();
    pal.setColor(QPalette::Window, QColor(0x2f, 0x4a, 0x6b));
    headBox->setPalette(pal);
    auto *icon = new QLabel(headBox);
    icon->setPixmap(Icons::pixmap(QStringLiteral("central_unit"), 40));
    m_title = new QLabel(headBox);
    m_title->setObjectName(QStringLiteral("L_TITLE"));
    m_title->setStyleSheet(QStringLiteral("color: #ffd24a; font-weight: bold; font-size: 13pt;"));
    m_hint = new QLabel(headBox);
    m_hint->setObjectName(QStringLiteral("L_HINT"));
    m_hint->setStyleSheet(QStringLiteral("color: #e8eef5;"));
    auto *headText = new QVBoxLayout;
    headText->addWidget(m_title);
    headText->addWidget(m_hint);
    auto *head = new QHBoxLayout(headBox);
    head->addWidget(icon);
    head->addLayout(headText, 1);

    m_pages = new QStackedWidget(this);

    // Step 0: general values.
    auto *general = new QWidget(m_pages);
    m_name = new QLineEdit(general);
    m_name->setObjectName(QStringLiteral("E_NAME"));
    m_name->setMaxLength(SafeName::kBlockNameMax);
    // The installation file pads its texts with '@': it cannot be part of a name.
    m_name->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^@]*")), m_name));
    m_type = new QComboBox(general);
    m_type->setObjectName(QStringLiteral("C_TIPO"));
    for (int t = 1; t <= 3; ++t)
        m_type->addItem(StoreTexts::blockTypeText(t));
    m_code = new QLineEdit(general);
    m_code->setObjectName(QStringLiteral("E_CODE"));
    m_code->setMaxLength(2);
    m_code->setFixedWidth(60);
    m_code->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), m_code));
    auto *generalForm = new QFormLayout(general);
    generalForm->addRow(T("F_Asist00_LName_caption"), m_name);
    generalForm->addRow(T("F_Asist00_LType_caption"), m_type);
    generalForm->addRow(T("F_Asist00_LCode_caption"), m_code);
    m_pages->addWidget(general);

    // Step 1: components.
    auto *components = new QWidget(m_pages);
    auto *componentsLayout = new QVBoxLayout(components);
    for (size_t i = 0; i < m_checks.size(); ++i) {
        m_checks[i] = new QCheckBox(components);
        m_checks[i]->setObjectName(QLatin1String(kCheckNames[i]));
        componentsLayout->addWidget(m_checks[i]);
    }
    componentsLayout->addStretch();
    m_pages->addWidget(components);

    // Step 2: summary and Confirm.
    auto *finish = new QWidget(m_pages);
    m_summary = new QTreeWidget(finish);
    m_summary->setObjectName(QStringLiteral("Lista"));
    m_summary->setRootIsDecorated(false);
    m_summary->setHeaderLabels({T("F_Asist00_Lista_Column00"), T("F_Asist00_Lista_Column01")});
    m_summary->header()->resizeSection(0, 150);
    auto *confirm = new QPushButton(Icons::icon(QStringLiteral("ok")), T("F_Asist00_L_CONFIRM_caption"), finish);
    confirm->setObjectName(QStringLiteral("L_CONFIRM"));
    confirm->setFlat(true);
    confirm->setCursor(Qt::PointingHandCursor);
    confirm->setStyleSheet(QStringLiteral("font-weight: bold; color: #1a4f9c; text-decoration: underline;"));
    connect(confirm, &QPushButton::clicked, this, &TF_Asist00::L_CONFIRMClick);
    auto *finishLayout = new QVBoxLayout(finish);
    finishLayout->addWidget(m_summary, 1);
    auto *confirmRow = new QHBoxLayout;
    confirmRow->addStretch();
    confirmRow->addWidget(confirm);
    finishLayout->addLayout(confirmRow);
    m_pages->addWidget(finish);

    m_back = new QPushButton(T("F_Asist00_B_BACK_caption"), this);
    m_back->setObjectName(QStringLiteral("B_BACK"));
    m_next = new QPushButton(T("F_Asist00_B_NEXT_caption"), this);
    m_next->setObjectName(QStringLiteral("B_NEXT"));
    auto *cancel = new QPushButton(T("STAN_CANC"), this);
    cancel->setObjectName(QStringLiteral("B_CANCEL"));
    connect(m_back, &QPushButton::clicked, this, &TF_Asist00::B_BACKClick);
    connect(m_next, &QPushButton::clicked, this, &TF_Asist00::B_NEXTClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addSpacing(16);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(headBox);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(12, 4, 12, 0);
    body->addWidget(m_pages, 1);
    body->addLayout(buttons);
    layout->addLayout(body, 1);
    resize(520, 420);
    goTo(0);
}

void TF_Asist00::prepare(const QString &workFolder, const QString &installation)
{
    m_folder = workFolder;
    m_installation = installation;
    m_added.reset();
    m_name->clear();
    m_code->clear();
    m_type->setCurrentIndex(0);
    for (QCheckBox *c : m_checks)
        c->setChecked(false);
    m_componentsType = 0;
    goTo(0);
}

void TF_Asist00::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_name->setFocus();
}

int TF_Asist00::type() const
{
    // A type text that matches none of the three is taken as the first.
    return BlockRules::typeOfText(m_type->currentText());
}

void TF_Asist00::goTo(int step)
{
    m_step = step;
    m_pages->setCurrentIndex(step);
    m_title->setText(T(kStepTitles[step]));
    m_hint->setText(T(kStepHints[step]));
    m_back->setEnabled(step > 0);
    m_next->setEnabled(step < 2);
}

bool TF_Asist00::leaveGeneral()
{
    QList<BlockRules::UsedBlock> used;
    try {
        used = BlockRules::usedBlocks(m_folder, m_installation);
    } catch (const StoreError &e) {
        Dialogs::instance().warning(e.text());
        return false;
    }
    const BlockRules::Check check = BlockRules::checkNewBlock(m_name->text(), m_code->text(), used);
    switch (check.refusal) {
    case BlockRules::Refusal::None:
        return true;
    case BlockRules::Refusal::NameUsed:
        Dialogs::instance().warning(T("F_Asist00_M1"));
        Dialogs::instance().information(T("F_Area2_MEN01"));
        return false;
    default:
        Dialogs::instance().warning(check.message);
        return false;
    }
}

void TF_Asist00::buildComponents()
{
    // The boxes are set up afresh whenever the type differs from the one
    // they were last set up for; otherwise the operator's ticks stay.
    const int t = type();
    if (t == m_componentsType)
        return;
    m_componentsType = t;
    const BlockRules::Offers offers = BlockRules::offersFor(t);
    for (size_t i = 0; i < m_checks.size(); ++i) {
        QString caption = T((QByteArray("F_Asist00_CB") + QByteArray::number(int(i)) + "_caption").constData());
        if (i == 2 && t == 2)
            caption = T("F_Asist00_CB2_T2_caption");
        m_checks[i]->setText(caption);
        m_checks[i]->setVisible(offers[i] != BlockRules::Offer::Off);
        m_checks[i]->setChecked(offers[i] == BlockRules::Offer::Ticked);
    }
}

BlockRules::WizardFlags TF_Asist00::flags() const
{
    const BlockRules::Offers offers = BlockRules::offersFor(m_componentsType);
    BlockRules::WizardFlags f{};
    for (size_t i = 0; i < f.size(); ++i)
        f[i] = offers[i] != BlockRules::Offer::Off && m_checks[i]->isChecked();
    return f;
}

void TF_Asist00::fillSummary()
{
    m_summary->clear();
    const auto add = [this](const QString &item, const QString &text) {
        auto *row = new QTreeWidgetItem(QStringList{item, text});
        m_summary->addTopLevelItem(row);
        return row;
    };
    add(T("F_Asist00_Row_Block"), m_name->text());
    add(T("F_Asist00_Row_Number"), m_code->text());
    add(T("F_Asist00_Row_Type"), m_type->currentText());
    const BlockRules::WizardFlags f = flags();
    for (size_t i = 0; i < f.size(); ++i) {
        QTreeWidgetItem *row = add(Lang::word(QLatin1String(BlockRules::kWizardWords[i])), QString());
        row->setCheckState(1, f[i] ? Qt::Checked : Qt::Unchecked);
        row->setFlags(row->flags() & ~Qt::ItemIsUserCheckable);
    }
}

void TF_Asist00::B_BACKClick()
{
    if (m_step > 0)
        goTo(m_step - 1);
}

void TF_Asist00::B_NEXTClick()
{
    if (m_step == 0) {
        if (!leaveGeneral())
            return;
        buildComponents();
        goTo(1);
    } else if (m_step == 1) {
        fillSummary();
        goTo(2);
    }
}

void TF_Asist00::L_CONFIRMClick()
{
    if (m_step != 2)
        return;
    // The installation may have changed while the wizard was open: check again.
    QList<BlockRules::UsedBlock> used;
    try {
        used = BlockRules::usedBlocks(m_folder, m_installation);
    } catch (const StoreError &e) {
        Dialogs::instance().warning(e.text());
        return;
    }
    const BlockRules::Check check = BlockRules::checkNewBlock(m_name->text(), m_code->text(), used);
    if (!check) {
        Dialogs::instance().information(check.message);
        return;
    }
    const InstallationStore::NewBlock block = BlockRules::newBlock(m_name->text(), m_code->text().toInt(), type(), flags());

    QProgressDialog progress(QStringLiteral("Veltrona"), QString(), 0, 100, this);
    progress.setObjectName(QStringLiteral("F_Progress"));
    progress.setWindowTitle(QStringLiteral("Veltrona"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StoreOutcome outcome;
    QString failure;
    try {
        outcome = InstallationStore::addBlock(m_folder, m_installation, block, [&](int percent) { progress.setValue(percent); });
    } catch (const StoreError &e) {
        failure = e.text();
    } catch (const EngineError &e) {
        failure = e.text();
    }
    QApplication::restoreOverrideCursor();
    progress.reset();
    if (!failure.isEmpty()) {
        Dialogs::instance().warning(failure);
        return;
    }
    if (!outcome) {
        Dialogs::instance().information(outcome.message);
        return;
    }
    m_added = block;
    accept();
    emit blockAdded(block.name);
}

std::optional<InstallationStore::NewBlock> TF_Asist00::run(QWidget *parent, const QString &workFolder,
                                                           const QString &installation)
{
    TF_Asist00 wizard(parent);
    wizard.prepare(workFolder, installation);
    wizard.exec();
    return wizard.addedBlock();
}
