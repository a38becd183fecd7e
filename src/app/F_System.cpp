#include "app/F_System.h"

#include "app/FormKit.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QDir>
#include <QPlainTextEdit>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QScreen>
#include <QStyleHints>
#include <QSysInfo>
#include <QThread>
#include <QVBoxLayout>

namespace {
QString firstMatchingLine(const QString &file, const QString &prefix)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(line.indexOf(QLatin1Char(':')) + 1).trimmed();
    }
    return QString();
}

QString memoryLine(const QString &key)
{
    const QString v = firstMatchingLine(QStringLiteral("/proc/meminfo"), key);
    const qint64 kb = v.section(QLatin1Char(' '), 0, 0).toLongLong();
    return kb > 0 ? QStringLiteral("%1 MB").arg(kb / 1024) : QStringLiteral("-");
}
} // namespace

TF_System::TF_System(ProgramState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("F_System"));
    setWindowTitle(Lang::text(QStringLiteral("F_System_Caption"), QStringLiteral("PC Information")));
    // The system folder is fixed here, before any login needs it.
    m_state.systemFolder = Paths::systemDir();

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Memo1"));
    m_text->setReadOnly(true);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(Lang::message(QStringLiteral("VALOR_ACEP")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("B_OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);
    resize(620, 520);
}

void TF_System::showEvent(QShowEvent *event)
{
    refresh();
    QDialog::showEvent(event);
}

void TF_System::refresh() { m_text->setPlainText(buildReport(m_state.systemFolder)); }

QString TF_System::report() const { return m_text->toPlainText(); }

QString TF_System::buildReport(const QString &systemFolder)
{
    QStringList out;
    auto section = [&out](const QString &name) {
        if (!out.isEmpty())
            out << QString();
        out << QStringLiteral("[%1]").arg(name);
    };
    auto line = [&out](const QString &key, const QString &value) { out << QStringLiteral("  %1: %2").arg(key, -18).arg(value); };

    section(QStringLiteral("Version"));
    line(QStringLiteral("Operating system"), QSysInfo::prettyProductName());
    line(QStringLiteral("Kernel"), QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion());
    line(QStringLiteral("Host name"), QSysInfo::machineHostName());
    line(QStringLiteral("Machine id"), QString::fromLatin1(QSysInfo::machineUniqueId()));

    section(QStringLiteral("CPU"));
    const QString model = firstMatchingLine(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    line(QStringLiteral("Processor"), model.isEmpty() ? QSysInfo::currentCpuArchitecture() : model);
    line(QStringLiteral("Architecture"), QSysInfo::currentCpuArchitecture());
    line(QStringLiteral("Logical CPUs"), QString::number(QThread::idealThreadCount()));

    section(QStringLiteral("Memory"));
    line(QStringLiteral("Total"), memoryLine(QStringLiteral("MemTotal")));
    line(QStringLiteral("Available"), memoryLine(QStringLiteral("MemAvailable")));
    line(QStringLiteral("Swap"), memoryLine(QStringLiteral("SwapTotal")));

    section(QStringLiteral("Platform"));
    line(QStringLiteral("Build ABI"), QSysInfo::buildAbi());
    line(QStringLiteral("Qt"), QString::fromLatin1(qVersion()));
    line(QStringLiteral("Window system"), QApplication::platformName());
    if (const QScreen *screen = QApplication::primaryScreen())
        line(QStringLiteral("Screen"), QStringLiteral("%1 x %2").arg(screen->size().width()).arg(screen->size().height()));

    section(QStringLiteral("Windows"));
    line(QStringLiteral("Config folder"), Paths::configDir());
    line(QStringLiteral("Temporary folder"), Paths::tempDir());

    section(QStringLiteral("SystemDir"));
    line(QStringLiteral("System folder"), systemFolder);

    section(QStringLiteral("Mouse"));
    line(QStringLiteral("Double click"), QStringLiteral("%1 ms").arg(QApplication::styleHints()->mouseDoubleClickInterval()));
    line(QStringLiteral("Wheel lines"), QString::number(QApplication::styleHints()->wheelScrollLines()));

    section(QStringLiteral("NetWork add."));
    // Hardware addresses of the network interfaces as the kernel lists them.
    const QDir net(QStringLiteral("/sys/class/net"));
    for (const QString &iface : net.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        QFile f(net.filePath(iface + QStringLiteral("/address")));
        const QString address = f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
        line(iface, address);
    }

    section(QStringLiteral("Windows log"));
    line(QStringLiteral("User"), qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME")));
    line(QStringLiteral("Home"), qEnvironmentVariable("HOME"));

    section(QStringLiteral("Environment"));
    QStringList env = QProcessEnvironment::systemEnvironment().toStringList();
    env.sort();
    for (const QString &e : env)
        out << QStringLiteral("  ") + e;
    return out.join(QLatin1Char('\n'));
}
