// Prints how long opening the language file and looking texts up take.
#include "frame/Lang.h"
#include "support/TestPaths.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    // A file the size the program reaches: 1,700 keys in each of two languages.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VELTRONA_LANG.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    QStringList keys;
    for (const char *language : {"ENGLISH", "SPANISH"}) {
        file.write(QByteArray("[") + language + "]\n");
        for (int i = 0; i < 1700; ++i) {
            const QString key = QStringLiteral("F_Form%1_Control%2_Caption").arg(i / 40).arg(i % 40);
            if (keys.size() < 1700)
                keys << key;
            file.write(key.toUtf8() + "=Caption text number " + QByteArray::number(i) + "\n");
        }
    }
    file.close();

    QElapsedTimer timer;
    timer.start();
    constexpr int kOpens = 50;
    for (int i = 0; i < kOpens; ++i)
        Lang::open(path, QStringLiteral("SPANISH"));
    const double openMs = double(timer.nsecsElapsed()) / 1e6 / kOpens;

    constexpr int kRounds = 200;
    qsizetype total = 0;
    timer.restart();
    for (int r = 0; r < kRounds; ++r)
        for (const QString &key : keys)
            total += Lang::text(key).size();
    const double lookupNs = double(timer.nsecsElapsed()) / (double(kRounds) * keys.size());

    out << "language file open (2 x 1700 keys): " << QString::number(openMs, 'f', 2) << " ms\n";
    out << "text lookup: " << QString::number(lookupNs, 'f', 0) << " ns per key (" << total << " chars read)\n";
    return 0;
}
