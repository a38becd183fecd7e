#include "app/F_direc.h"

#include "app/FormKit.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

TF_direc::TF_direc(ProgramState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("F_direc"));
    setWindowTitle(Lang::text(QStringLiteral("F_direc_Caption")));
    setModal(true);

    auto *label1 = new QLabel(Lang::text(QStringLiteral("F_direc_Label1_Caption")), this);
    label1->setObjectName(QStringLiteral("Label1"));

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("DirectoryListBox1"));
    m_tree->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_tree->hideColumn(c);
    m_tree->setHeaderHidden(true);

    m_chosen = new QLabel(this);
    m_chosen->setObjectName(QStringLiteral("Label2"));
    m_chosen->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_chosen->setStyleSheet(QStringLiteral("font-weight: bold;"));
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &) { m_chosen->setText(chosenFolder()); });

    QDialogButtonBox *buttons = FormKit::okCancel(this, QStringLiteral("B_OK"), QStringLiteral("B_CANCEL"),
                                                  QStringLiteral("STAN_CANC_H"), false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TF_direc::B_OKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_chosen);
    layout->addWidget(buttons);
    resize(460, 420);
}

void TF_direc::setFolder(const QString &folder)
{
    // The work folder need not exist yet; start from its nearest existing parent.
    QString path = QDir::cleanPath(folder);
    while (!path.isEmpty() && !QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        path = parent == path ? QString() : parent;
    }
    if (path.isEmpty())
        path = QDir::homePath();
    const QModelIndex index = m_model->index(QDir::cleanPath(path));
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_tree->expand(index);
    m_chosen->setText(chosenFolder());
}

QString TF_direc::chosenFolder() const
{
    const QModelIndex index = m_tree->currentIndex();
    if (!index.isValid())
        return QString();
    return Paths::withSlash(m_model->filePath(index));
}

void TF_direc::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    setFolder(m_state.workFolder);
    m_tree->setFocus();
}

void TF_direc::B_OKClick()
{
    const QString folder = chosenFolder();
    if (folder.isEmpty())
        return;
    m_state.workFolder = folder;
    m_state.putIntoSettings();
    QString error;
    if (!m_state.settings.save(m_state.settings.filePath(), &error))
        Dialogs::instance().warning(error);
    accept();
}
