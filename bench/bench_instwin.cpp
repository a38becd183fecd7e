// Installation window figures: opening an installation of 64 blocks with
// every component (tree, icons, block count), showing the users list of a
// block with 1020 users, and switching between list kinds.
#include "editors/ui/F_Princ.h"
#include "frame/Lang.h"
#include "frame/ProgramState.h"
#include "store/InstallationStore.h"
#include "store/engine/Table.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPaths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>

namespace {

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

QTreeWidgetItem *byWord(QTreeWidgetItem *parent, const QString &key)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0) == Lang::word(key))
            return parent->child(i);
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestFolders folders;
    if (!folders.isValid()) {
        std::fprintf(stderr, "folders: %s\n", qPrintable(folders.error()));
        return 1;
    }
    Lang::open(Lang::filePath(), QStringLiteral("ENGLISH"));
    ScriptedDialogs dialogs;
    const QString work = folders.workDir();
    const QString inst = QStringLiteral("Big");

    QElapsedTimer setup;
    setup.start();
    InstallationStore::createInstallation(work, inst, InstallationStore::Connection::Local, QString(), QStringLiteral("COM1"));
    for (int b = 0; b < 64; ++b) {
        InstallationStore::NewBlock block{QStringLiteral("Block%1").arg(b, 2, 10, QLatin1Char('0')), b, 1,
                                          {true, true, true, true, true, true, true, true}};
        if (!InstallationStore::addBlock(work, inst, block)) {
            std::fprintf(stderr, "addBlock failed\n");
            return 1;
        }
    }
    {
        Table users(work, QStringLiteral("Big_Block00_Users.db"));
        users.open();
        users.beginTransaction();
        for (int u = 0; u < 1020; ++u) {
            users.append();
            users.setText(QStringLiteral("N_USUARIO"), QString::number(u + 1));
            users.setText(QStringLiteral("NOMBRE"), QStringLiteral("User %1").arg(u + 1));
            users.setText(QStringLiteral("CODIGO"), QStringLiteral("%1").arg(100000 + u));
            users.setInteger(QStringLiteral("PERFIL"), u % 3 == 0 ? 126 : 1);
            users.setText(QStringLiteral("PTA_PIN"), QStringLiteral("%1").arg(u % 40));
            users.setText(QStringLiteral("PISO_USR"), QStringLiteral("%1").arg(u % 12));
            if (u % 2)
                users.setInteger(QStringLiteral("MEM_POS_RELATIVA"), u);
            users.post();
        }
        users.commit();
    }
    std::printf("fixture: 64 blocks, 1020 users in %lld ms\n", static_cast<long long>(setup.elapsed()));

    const QString path = work + inst + QStringLiteral(".axo");
    ProgramState state;
    state.workFolder = work;
    state.settings.autoTest = QStringLiteral("False");

    QList<double> opens;
    for (int i = 0; i < 5; ++i) {
        auto *w = new TF_Principal(state);
        QElapsedTimer t;
        t.start();
        const bool ok = w->openInstallation(path);
        opens << t.nsecsElapsed() / 1e6;
        if (!ok || w->tree()->topLevelItem(0)->childCount() != 64 || w->blockCount() != QLatin1String("64")) {
            std::fprintf(stderr, "opening failed\n");
            return 1;
        }
        delete w;
    }
    std::printf("open installation (64 blocks, every component): median %.1f ms (target <= 500)\n", median(opens));

    TF_Principal w(state);
    w.openInstallation(path);
    w.resize(1280, 800);
    w.show();
    QTreeWidgetItem *block = w.tree()->topLevelItem(0)->child(0);
    QTreeWidgetItem *act = byWord(block, QStringLiteral("ACT"));
    QTreeWidgetItem *usr = byWord(act, QStringLiteral("USR"));
    QList<double> usersTimes;
    for (int i = 0; i < 5; ++i) {
        w.tree()->setCurrentItem(block);
        QElapsedTimer t;
        t.start();
        w.tree()->setCurrentItem(usr);
        QCoreApplication::processEvents();
        usersTimes << t.nsecsElapsed() / 1e6;
    }
    std::printf("users list of 1020 users: median %.1f ms (target <= 150), rows %d\n", median(usersTimes),
                int(w.shownList().rows.size()));

    const QList<QTreeWidgetItem *> kinds = {
        byWord(block, QStringLiteral("ACC")), byWord(block, QStringLiteral("SEN")),
        byWord(byWord(act, QStringLiteral("PRO")), QStringLiteral("TIM")), byWord(act, QStringLiteral("PRO")),
        byWord(byWord(byWord(act, QStringLiteral("PRO")), QStringLiteral("ARE")), QStringLiteral("ZON")),
        byWord(block, QStringLiteral("SCH")), byWord(byWord(block, QStringLiteral("LFT")), QStringLiteral("LIC"))};
    QList<double> switches;
    for (int round = 0; round < 5; ++round)
        for (QTreeWidgetItem *k : kinds) {
            QElapsedTimer t;
            t.start();
            w.tree()->setCurrentItem(k);
            QCoreApplication::processEvents();
            switches << t.nsecsElapsed() / 1e6;
        }
    std::printf("switching between list kinds (%d switches): median %.1f ms, max %.1f ms (target <= 50)\n",
                int(switches.size()), median(switches), *std::max_element(switches.begin(), switches.end()));
    return 0;
}
