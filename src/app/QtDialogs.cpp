#include "app/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {
QString titleOr(const QString &title)
{
    return title.isEmpty() ? QApplication::applicationName() : title;
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
    QMessageBox::warning(parentWidget(), titleOr(title), text, QMessageBox::Ok);
}

void QtDialogs::information(const QString &text, const QString &title)
{
    QMessageBox::information(parentWidget(), titleOr(title), text, QMessageBox::Ok);
}

bool QtDialogs::confirm(const QString &text, const QString &title)
{
    return QMessageBox::question(parentWidget(), titleOr(title), text, QMessageBox::Yes | QMessageBox::No,
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
    return QFileDialog::getOpenFileName(parentWidget(), titleOr(title), folder, qtFilter(filter));
}

QString QtDialogs::saveFile(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getSaveFileName(parentWidget(), titleOr(title), folder, qtFilter(filter));
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
        m_messageWindow->setWindowModality(Qt::NonModal);
    }
    m_messageWindow->setText(line2.isEmpty() ? line1 : line1 + QLatin1Char('\n') + line2);
    m_messageWindow->show();
    m_messageWindow->raise();
}
