// veltrona-cli: the central-unit link commands (detect, login, exchange).
#include "cli/CliCommand.h"

#include "link/CuCommands.h"
#include "link/CuTest.h"
#include "frame/Settings.h"
#include "link/FrameCodec.h"
#include "link/Link.h"
#include "link/LinkConfig.h"
#include "store/InstallationFile.h"
#include "store/InstallationStore.h"
#include "store/StoreError.h"
#include "platform/SimulatedPort.h"
#include "sim/SimBus.h"
#include "sim/SimCentralUnit.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Parses "3", "0-63", "1,3,5-7" into CU numbers 0..63.
bool parseCuList(const QString &text, QList<int> *cus)
{
    cus->clear();
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        static const QRegularExpression range(QStringLiteral("^\\s*(\\d{1,2})\\s*(?:-\\s*(\\d{1,2}))?\\s*$"));
        const QRegularExpressionMatch m = range.match(part);
        if (!m.hasMatch())
            return false;
        const int from = m.captured(1).toInt();
        const int to = m.captured(2).isEmpty() ? from : m.captured(2).toInt();
        if (from > 63 || to > 63 || to < from)
            return false;
        for (int n = from; n <= to; ++n)
            cus->append(n);
    }
    return !cus->isEmpty();
}

bool parseCu(const QString &text, int *cu, bool allowAll)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok)
        return false;
    if (n >= 0 && n <= 63) {
        *cu = n;
        return true;
    }
    if (allowAll && n == FrameCodec::kAllCus) {
        *cu = n;
        return true;
    }
    return false;
}

// The options every link command shares: --port, --trace, --vel-trama,
// --parity, --sim-units. The link starts from the settings file (the
// program's own values: system port, its device path, timers, parity); the
// options given replace them. False (message on err) on bad input.
struct LinkSetup {
    Link link;
    CuCommands commands{link};
    QString error;

    int prepare(Cli::Context &ctx)
    {
        QStringList &args = ctx.args;
        Settings settings;
        settings.load();
        for (const QString &w : settings.warnings())
            ctx.err << "settings: " << w << "\n";
        LinkSettings &s = link.settings();
        LinkConfig::apply(settings, s);
        const QString port = Cli::takeOption(args, QStringLiteral("port"), s.Sys_Port);
        const QString trace = Cli::takeOption(args, QStringLiteral("trace"));
        const QString velTrama = Cli::takeOption(args, QStringLiteral("vel-trama"));
        const QString parity = Cli::takeOption(args, QStringLiteral("parity"), s.Parity);
        const QString simUnits = Cli::takeOption(args, QStringLiteral("sim-units"), QStringLiteral("1"));
        if (port.trimmed().isEmpty()) {
            ctx.err << "missing --port PATH\n";
            return Cli::BadInput;
        }
        s.Sys_Port = port;
        s.Parity = parity;
        if (!velTrama.isEmpty()) {
            bool ok = false;
            const int ms = velTrama.toInt(&ok);
            if (!ok || ms < 1 || ms > 60000) {
                ctx.err << "--vel-trama: milliseconds 1 to 60000 expected\n";
                return Cli::BadInput;
            }
            s.Vel_Trama = ms;
        }
        if (s.devicePath(port) == QLatin1String("sim")) {
            QList<int> units;
            if (!parseCuList(simUnits, &units)) {
                ctx.err << "--sim-units: CU numbers 0 to 63 expected, such as 1,3,5-7\n";
                return Cli::BadInput;
            }
            SimBus *bus = SimulatedPort::sharedBus();
            for (int n : units)
                bus->addUnit(n);
        }
        if (!trace.isEmpty()) {
            QString message;
            if (!link.trace().setFile(trace, &message)) {
                ctx.err << message << "\n";
                return Cli::Failed;
            }
            link.trace().setEnabled(true);
        }
        return Cli::Ok;
    }

    int openSystemPort(Cli::Context &ctx)
    {
        QString message;
        link.setSystemParityFromSettings();
        if (!link.openSystemPort(link.settings().Sys_Port, &message)) {
            ctx.err << message << "\n";
            return Cli::Failed;
        }
        return Cli::Ok;
    }
};

QString hex2(int value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper(); }

int detect(Cli::Context &ctx)
{
    LinkSetup setup;
    if (const int rc = setup.prepare(ctx))
        return rc;
    const QString cuText = Cli::takeOption(ctx.args, QStringLiteral("cu"));
    const bool range = Cli::takeFlag(ctx.args, QStringLiteral("range"));
    const QString installation = Cli::takeOption(ctx.args, QStringLiteral("installation"));
    if (!ctx.args.isEmpty()) {
        ctx.err << "unexpected: " << ctx.args.join(QLatin1Char(' ')) << "\n";
        return Cli::BadInput;
    }
    if (int(!cuText.isEmpty()) + int(range) + int(!installation.isEmpty()) != 1) {
        ctx.err << "give one of --cu N, --range, --installation FILE.axo\n";
        return Cli::BadInput;
    }
    QList<int> cus;
    QStringList names; // block names of an installation's rows
    if (!installation.isEmpty()) {
        // One row per block record of the installation file, in file order.
        const QFileInfo info(installation);
        const InstallationFile axo(info.absolutePath() + QLatin1Char('/'),
                                   InstallationStore::installationNameOf(info.fileName()));
        QList<BlockRecord> blocks;
        try {
            blocks = axo.readBlocks();
        } catch (const StoreError &e) {
            ctx.err << e.text() << "\n";
            return Cli::Failed;
        }
        for (const BlockRecord &b : blocks) {
            if (b.code() < 0 || b.code() > 63) {
                ctx.err << "block " << b.name() << ": CU number " << b.code() << " out of range 0 to 63, skipped\n";
                continue;
            }
            cus.append(b.code());
            names.append(b.name());
        }
        if (cus.isEmpty()) {
            ctx.err << "the installation has no blocks to test\n";
            return Cli::Failed;
        }
    } else if (range) {
        for (int n = 0; n < 64; ++n)
            cus.append(n);
    } else {
        int cu = 0;
        if (!parseCu(cuText, &cu, false)) {
            ctx.err << "--cu: a CU number 0 to 63 expected\n";
            return Cli::BadInput;
        }
        cus.append(cu);
    }
    CuTest test(setup.link, setup.commands);
    QString message;
    if (!test.open(&message)) {
        ctx.err << message << "\n";
        return Cli::Failed;
    }
    bool any = false;
    const QList<CuTest::Result> results = test.testCus(cus);
    for (qsizetype i = 0; i < results.size(); ++i) {
        const CuTest::Result &r = results.at(i);
        ctx.out << QStringLiteral("%1").arg(r.cu, 2, 10, QLatin1Char('0'));
        if (i < names.size())
            ctx.out << " " << names.at(i);
        ctx.out << (r.answered ? QStringLiteral(" answered ") + hex2(r.code) : QStringLiteral(" no answer")) << "\n";
        any = any || r.answered;
    }
    test.close();
    return any ? Cli::Ok : Cli::Failed;
}

int login(Cli::Context &ctx)
{
    LinkSetup setup;
    if (const int rc = setup.prepare(ctx))
        return rc;
    const QString cuText = Cli::takeOption(ctx.args, QStringLiteral("cu"));
    const QString code = Cli::takeOption(ctx.args, QStringLiteral("code"), QStringLiteral("\x01"));
    int cu = 0;
    if (!parseCu(cuText, &cu, false)) {
        ctx.err << "--cu: a CU number 0 to 63 expected\n";
        return Cli::BadInput;
    }
    if (code == QLatin1String("\x01")) {
        ctx.err << "missing --code CODE\n";
        return Cli::BadInput;
    }
    if (!ctx.args.isEmpty()) {
        ctx.err << "unexpected: " << ctx.args.join(QLatin1Char(' ')) << "\n";
        return Cli::BadInput;
    }
    if (const int rc = setup.openSystemPort(ctx))
        return rc;
    setup.link.setCurrentCu(uint8_t(cu));
    setup.commands.cu(cu).selected = true;
    const bool ok = setup.commands.Cu_Login(code);
    const char level = setup.commands.loginLevel();
    ctx.out << QString(QLatin1Char(level)) << " " << QString::fromLatin1(setup.commands.version()) << "\n";
    if (ok)
        setup.commands.Cu_Logout();
    setup.link.closeSystemPort();
    if (!ok)
        ctx.err << "login refused or not answered (level " << QLatin1Char(level) << ")\n";
    return ok ? Cli::Ok : Cli::Failed;
}

int exchange(Cli::Context &ctx)
{
    LinkSetup setup;
    if (const int rc = setup.prepare(ctx))
        return rc;
    const QString cuText = Cli::takeOption(ctx.args, QStringLiteral("cu"));
    const QString hexText = Cli::takeOption(ctx.args, QStringLiteral("hex"));
    const QString modeText = Cli::takeOption(ctx.args, QStringLiteral("mode"), QStringLiteral("1"));
    int cu = 0;
    if (!parseCu(cuText, &cu, true)) {
        ctx.err << "--cu: a CU number 0 to 63 (or 128 for all) expected\n";
        return Cli::BadInput;
    }
    QByteArray payload;
    if (!FrameCodec::parseHex(hexText, &payload) || payload.isEmpty() || payload.size() > FrameCodec::kMaxPayload) {
        ctx.err << "--hex: 1 to 64 bytes in hexadecimal expected\n";
        return Cli::BadInput;
    }
    if (modeText != QLatin1String("0") && modeText != QLatin1String("1")) {
        ctx.err << "--mode: 0 or 1 expected\n";
        return Cli::BadInput;
    }
    if (!ctx.args.isEmpty()) {
        ctx.err << "unexpected: " << ctx.args.join(QLatin1Char(' ')) << "\n";
        return Cli::BadInput;
    }
    if (const int rc = setup.openSystemPort(ctx))
        return rc;
    const int mode = modeText.toInt();
    const uint8_t code = setup.link.Exchange(payload, mode, uint8_t(cu));
    setup.link.closeSystemPort();
    if (mode == 0) {
        ctx.out << "sent\n";
        return code ? Cli::Ok : Cli::Failed;
    }
    if (code == 0) {
        ctx.out << "no answer\n";
        if (!setup.link.lastError().isEmpty())
            ctx.err << setup.link.lastError() << "\n";
        return Cli::Failed;
    }
    ctx.out << "answer " << hex2(code);
    const QByteArray params = setup.link.answerParams();
    if (!params.isEmpty())
        ctx.out << " params " << FrameCodec::hex(params);
    ctx.out << "\n";
    return Cli::Ok;
}

const QString kCommon = QStringLiteral(" [--trace FILE] [--vel-trama MS] [--parity 0|1] [--sim-units LIST]");

Cli::Registration detectReg{{QStringLiteral("cu detect"),
                             QStringLiteral("cu detect [--port PATH] (--cu N | --range | --installation FILE.axo)") + kCommon,
                             detect}};
Cli::Registration loginReg{{QStringLiteral("cu login"),
                            QStringLiteral("cu login [--port PATH] --cu N --code CODE") + kCommon, login}};
Cli::Registration exchangeReg{{QStringLiteral("cu exchange"),
                               QStringLiteral("cu exchange [--port PATH] --cu N --hex PAYLOAD [--mode 0|1]") + kCommon,
                               exchange}};

} // namespace
