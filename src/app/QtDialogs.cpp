#include "app/QtDialogs.h"

#include "frame/Lang.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
QString titleOr(const QString &title)
{
    return title.isEmpty() ? QApplication::applicationName() : title;
}

// The standard buttons of a message box carry the current language's texts.
void translateButtons(QMessageBox &box)
{
    if (QAbstractButton *ok = box.button(QMessageBox::Ok))
        ok->setText(Lang::message(QStringLiteral("VALOR_ACEP")));
    if (QAbstractButton *yes = box.button(QMessageBox::Yes))
        yes->setText(Lang::text(QStringLiteral("Dialogs_Yes"), QStringLiteral("&Yes")));
    if (QAbstractButton *no = box.button(QMessageBox::No))
        no->setText(Lang::text(QStringLiteral("Dialogs_No"), QStringLiteral("&No")));
}

QMessageBox::StandardButton ask(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    translateButtons(box);
    return QMessageBox::StandardButton(box.exec());
}

// A file dialog whose own captions come from the current language.
QString chooseFile(QWidget *parent, const QString &title, const QString &folder, const QString &filter,
                   QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::LookIn, Lang::text(QStringLiteral("Dialogs_LookIn"), QStringLiteral("Look in:")));
    dialog.setLabelText(QFileDialog::FileName, Lang::text(QStringLiteral("Dialogs_FileName"), QStringLiteral("File name:")));
    dialog.setLabelText(QFileDialog::FileType, Lang::text(QStringLiteral("Dialogs_FileType"), QStringLiteral("Files of type:")));
    dialog.setLabelText(QFileDialog::Accept, Lang::message(mode == QFileDialog::AcceptOpen ? QStringLiteral("STAN_OPEN")
                                                                                           : QStringLiteral("STAN_SAVE")));
    dialog.setLabelText(QFileDialog::Reject, Lang::message(QStringLiteral("STAN_CANC")));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
} // namespace

QtDialogs::~QtDialogs()
{
    if (m_messageWindow)
        delete m_messageWindow;
}

QWidget *QtDialogs::parentWidget() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return m_parent ? m_parent.data() : QApplication::activeWindow();
}

void QtDialogs::warning(const QString &text, const QString &title)
{
    ask(parentWidget(), QMessageBox::Warning, titleOr(title), text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialogs::information(const QString &text, const QString &title)
{
    ask(parentWidget(), QMessageBox::Information, titleOr(title), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtDialogs::confirm(const QString &text, const QString &title)
{
    return ask(parentWidget(), QMessageBox::Question, titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No)
        == QMessageBox::Yes;
}

QString QtDialogs::qtFilter(const QString &filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts.at(i + 1);
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts.at(i) + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

QString QtDialogs::openFile(const QString &title, const QString &folder, const QString &filter)
{
    return chooseFile(parentWidget(), titleOr(title), folder, qtFilter(filter), QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFile(const QString &title, const QString &folder, const QString &filter)
{
    return chooseFile(parentWidget(), titleOr(title), folder, qtFilter(filter), QFileDialog::AcceptSave);
}

QString QtDialogs::chooseFolder(const QString &title, const QString &folder)
{
    return QFileDialog::getExistingDirectory(parentWidget(), titleOr(title), folder);
}

void QtDialogs::messageWindow(const QString &line1, const QString &line2)
{
    // One modeless window, reused: a second message replaces the first.
    if (!m_messageWindow) {
        m_messageWindow = new QMessageBox(QMessageBox::Information, QApplication::applicationName(), QString(),
                                          QMessageBox::Ok, m_parent);
        m_messageWindow->setObjectName(QStringLiteral("MessageWindow"));
        m_messageWindow->setModal(false);
        translateButtons(*m_messageWindow);
        m_messageWindow->setWindowModality(Qt::NonModal);
    }
    m_messageWindow->setText(line2.isEmpty() ? line1 : line1 + QLatin1Char('\n') + line2);
    m_messageWindow->show();
    m_messageWindow->raise();
}
