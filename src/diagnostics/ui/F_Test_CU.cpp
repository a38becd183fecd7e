#include "diagnostics/ui/F_Test_CU.h"

#include "common/ui/Icons.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "link/BlockFlags.h"
#include "link/CuCommands.h"
#include "link/CuTest.h"
#include "link/InstallationConnection.h"
#include "link/Link.h"
#include "platform/Dialogs.h"
#include "store/InstallationFile.h"
#include "store/InstallationStore.h"
#include "store/StoreError.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QString T(const char *key) { return Lang::text(QLatin1String(key)); }
QString two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
} // namespace

TF_Test_CU::TF_Test_CU(ProgramState &state, Link &link, CuCommands &commands, QWidget *parent)
    : QDialog(parent), m_state(state), m_link(link), m_commands(commands)
{
    setObjectName(QStringLiteral("F_Test_CU"));
    setWindowTitle(Lang::text(QStringLiteral("MainForm_Caption")));
    setWindowIcon(Icons::icon(QStringLiteral("test")));

    auto label = [this](const char *name, const QString &text = QString()) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto button = [this](const char *name, const QString &text, const char *icon) {
        auto *b = new QPushButton(Icons::icon(QLatin1String(icon)), text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false); // Enter in the CU field starts that CU's test only
        return b;
    };

    // Heading
    auto *icon = label("Image1");
    icon->setPixmap(Icons::pixmap(QStringLiteral("test"), 48));
    QLabel *title = label("Label1", T("F_Test_CU_Label1_Caption"));
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    title->setFont(big);
    QLabel *subtitle = label("Label2", T("F_Test_CU_Label2_Caption"));
    auto *titles = new QVBoxLayout;
    titles->addWidget(title);
    titles->addWidget(subtitle);
    m_animation = new QProgressBar(this);
    m_animation->setObjectName(QStringLiteral("Animate1"));
    m_animation->setRange(0, 0);
    m_animation->setTextVisible(false);
    m_animation->setFixedWidth(120);
    m_animation->setVisible(false);
    auto *head = new QHBoxLayout;
    head->addWidget(icon);
    head->addLayout(titles, 1);
    head->addWidget(m_animation);

    // Installation
    m_installation = label("L_INST");
    QFont bold = m_installation->font();
    bold.setBold(true);
    m_installation->setFont(bold);
    m_folder = label("L_FOLDER");
    m_folder->setStyleSheet(QStringLiteral("color: #555;"));
    QPushButton *select = button("B_SELECT", T("F_Test_CU_B_SELECT_Caption"), "open");
    connect(select, &QPushButton::clicked, this, &TF_Test_CU::B_SELECTClick);

    m_cu = new QLineEdit(this);
    m_cu->setObjectName(QStringLiteral("E_CU"));
    m_cu->setMaxLength(2);
    m_cu->setFixedWidth(48);
    m_cu->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), m_cu));
    connect(m_cu, &QLineEdit::returnPressed, this, &TF_Test_CU::B_START2Click);

    QPushButton *start1 = button("B_START1", T("F_Test_CU_B_START_Caption"), "test");
    QPushButton *start2 = button("B_START2", T("F_Test_CU_B_START_Caption"), "test");
    QPushButton *start3 = button("B_START3", T("F_Test_CU_B_START_Caption"), "test");
    QPushButton *stop1 = button("B_STOP1", T("F_Test_CU_B_STOP_Caption"), "close");
    QPushButton *stop3 = button("B_STOP3", T("F_Test_CU_B_STOP_Caption"), "close");
    connect(start1, &QPushButton::clicked, this, &TF_Test_CU::B_START1Click);
    connect(start2, &QPushButton::clicked, this, &TF_Test_CU::B_START2Click);
    connect(start3, &QPushButton::clicked, this, &TF_Test_CU::B_START3Click);
    connect(stop1, &QPushButton::clicked, this, &TF_Test_CU::B_STOPClick);
    connect(stop3, &QPushButton::clicked, this, &TF_Test_CU::B_STOPClick);
    m_startButtons = {select, start1, start2, start3};
    m_stopButtons = {stop1, stop3};

    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(box);
    grid->addWidget(label("Label6", T("F_Test_CU_Label6_Caption")), 0, 0);
    auto *inst = new QVBoxLayout;
    inst->addWidget(m_installation);
    inst->addWidget(m_folder);
    grid->addLayout(inst, 0, 1, 1, 2);
    grid->addWidget(select, 0, 3, 1, 2);
    grid->addWidget(label("Label3", T("F_Test_CU_Label3_Caption")), 1, 0, 1, 3);
    grid->addWidget(start1, 1, 3);
    grid->addWidget(stop1, 1, 4);
    grid->addWidget(label("Label4", T("F_Test_CU_Label4_Caption")), 2, 0);
    grid->addWidget(m_cu, 2, 1);
    grid->addWidget(start2, 2, 3);
    grid->addWidget(label("Label5", T("F_Test_CU_Label5_Caption")), 3, 0, 1, 3);
    grid->addWidget(start3, 3, 3);
    grid->addWidget(stop3, 3, 4);
    grid->setColumnStretch(2, 1);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("Lista"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({T("F_Test_CU_Lista_COL00"), T("F_Test_CU_Lista_COL01"), T("F_Test_CU_Lista_COL02")});
    m_list->header()->resizeSection(0, 70);
    m_list->header()->resizeSection(1, 240);
    m_list->setMinimumHeight(220);

    m_noTest = new QCheckBox(T("F_Test_CU_CB_NOTEST_Caption"), this);
    m_noTest->setObjectName(QStringLiteral("CB_NOTEST"));
    auto *close = new QPushButton(Lang::message(QStringLiteral("STAN_CLOSE")), this);
    close->setObjectName(QStringLiteral("B_CLOSE"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_startButtons << close;
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_noTest);
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(box);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottom);
    resize(640, 560);
    setRunning(false);
}

TF_Test_CU::~TF_Test_CU() = default;

void TF_Test_CU::showEvent(QShowEvent *event)
{
    if (m_file.isEmpty()) {
        QString folder, name;
        if (InstallationConnection::current(m_state, &folder, &name))
            setInstallationFile(m_state.installationFile);
    }
    m_noTest->setChecked(!m_state.settings.autoTestOn());
    QDialog::showEvent(event);
}

void TF_Test_CU::setInstallationFile(const QString &path)
{
    m_file = path;
    const QFileInfo info(path);
    m_installation->setText(InstallationStore::installationNameOf(info.fileName()));
    m_folder->setText(info.absolutePath() + QLatin1Char('/'));
}

void TF_Test_CU::setCu(int cu)
{
    m_cu->setText(cu >= 0 && cu <= 63 ? two(cu) : QString());
}

void TF_Test_CU::B_SELECTClick()
{
    const QString path = Dialogs::instance().openFile(T("F_Test_CU_B_SELECT_Caption"), m_state.workFolder,
                                                      T("F_Tipo_Conex_Filter"));
    if (!path.isEmpty())
        setInstallationFile(path);
}

QTreeWidgetItem *TF_Test_CU::addRow(int cu, const QString &block)
{
    auto *item = new QTreeWidgetItem(m_list, {two(cu), block, T("F_Test_CU_MENSA00")});
    item->setData(0, Qt::UserRole, cu);
    return item;
}

void TF_Test_CU::B_START1Click()
{
    if (m_running)
        return;
    if (m_file.isEmpty()) {
        Dialogs::instance().warning(T("F_Test_CU_MENSA02"));
        return;
    }
    const QFileInfo info(m_file);
    QList<BlockRecord> blocks;
    try {
        blocks = InstallationFile(info.absolutePath() + QLatin1Char('/'),
                                  InstallationStore::installationNameOf(info.fileName()))
                     .readBlocks();
    } catch (const StoreError &e) {
        Dialogs::instance().warning(T("F_Test_CU_MENSA05") + QLatin1Char(' ') + e.text());
        return;
    }
    m_list->clear();
    QList<QTreeWidgetItem *> rows;
    for (const BlockRecord &b : blocks) {
        if (b.code() < 0 || b.code() > 63)
            continue; // a record with a damaged code cannot be addressed
        rows << addRow(b.code(), b.name().left(50));
        m_commands.cu(b.code()).name = b.name();
    }
    runRows(rows);
}

void TF_Test_CU::B_START2Click()
{
    if (m_running)
        return;
    bool ok = false;
    const int cu = m_cu->text().toInt(&ok);
    if (!ok || cu < 0 || cu > 63) {
        Dialogs::instance().warning(T("F_Test_CU_MENSA03"));
        return;
    }
    m_list->clear();
    runRows({addRow(cu, m_commands.cu(cu).name)});
}

void TF_Test_CU::B_START3Click()
{
    if (m_running)
        return;
    m_list->clear();
    QList<QTreeWidgetItem *> rows;
    for (int cu = 0; cu < CuCommands::kCuCount; ++cu)
        rows << addRow(cu, m_commands.cu(cu).name);
    runRows(rows);
}

void TF_Test_CU::B_STOPClick()
{
    m_stopRequested = true;
    if (m_test)
        m_test->stop();
}

void TF_Test_CU::setRunning(bool on)
{
    m_running = on;
    for (QPushButton *b : std::as_const(m_startButtons))
        b->setEnabled(!on);
    for (QPushButton *b : std::as_const(m_stopButtons))
        b->setEnabled(on);
    m_cu->setEnabled(!on);
    m_animation->setVisible(on);
}

void TF_Test_CU::runRows(const QList<QTreeWidgetItem *> &rows)
{
    if (rows.isEmpty())
        return;
    if (m_link.busy()) {
        Dialogs::instance().warning(T("F_Test_CU_MENSA06"));
        return;
    }
    m_stopRequested = false;
    setRunning(true);
    // The test has a port of its own on the same line: the link's system
    // port is closed meanwhile and given back afterwards.
    const bool registering = m_state.registeringActive;
    const uint8_t currentCu = m_link.currentCu();
    m_link.closeSystemPort();
    m_test = std::make_unique<CuTest>(m_link, m_commands);
    QString error;
    if (!m_test->open(&error)) {
        Dialogs::instance().warning(T("F_Test_CU_MENSA04") + QLatin1Char(' ') + error);
    } else {
        for (QTreeWidgetItem *row : rows) {
            if (m_stopRequested)
                break;
            const int cu = row->data(0, Qt::UserRole).toInt();
            m_list->setCurrentItem(row);
            m_list->scrollToItem(row);
            row->setText(2, T("F_Test_CU_MENSA01"));
            row->setIcon(0, Icons::icon(QStringLiteral("test")));
            const CuTest::Result r = m_test->testCu(cu);
            BlockFlags::setAnswered(cu, r.answered);
            if (!r.answered)
                row->setIcon(0, Icons::icon(QStringLiteral("failure")));
            else {
                row->setText(2, Lang::message(QStringLiteral("VALOR_ACEP")));
                row->setIcon(0, Icons::icon(r.code == 0x06 ? QStringLiteral("ok") : QStringLiteral("test")));
            }
        }
    }
    m_test->close();
    m_test.reset();
    if (registering) {
        m_link.setCurrentCu(currentCu);
        m_link.setSystemParityFromSettings();
        m_link.openSystemPort();
    }
    setRunning(false);
}

void TF_Test_CU::applyNoTest()
{
    if (m_noTest->isChecked())
        m_state.settings.autoTest = QStringLiteral("False");
}

void TF_Test_CU::closeEvent(QCloseEvent *event)
{
    B_STOPClick();
    QDialog::closeEvent(event);
}

void TF_Test_CU::done(int result)
{
    // Closing stops a running test (it ends before its next CU).
    B_STOPClick();
    applyNoTest();
    QDialog::done(result);
}
