// Builds the system folder (template tables and the zone picture) from the
// template definitions. Run by the build; the program only copies its output.
#include "definitions/Definitions.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTextStream>

namespace Templates {

namespace {
QList<Builder> &registry()
{
    static QList<Builder> list;
    return list;
}
} // namespace

void add(const Builder &builder) { registry().append(builder); }
const QList<Builder> &all() { return registry(); }

} // namespace Templates

// The picture a new zone starts with: a plain plan grid.
static bool writeZonePicture(const QString &path)
{
    QImage image(320, 240, QImage::Format_RGB888);
    image.fill(QColor(250, 250, 246));
    QPainter painter(&image);
    painter.setPen(QColor(210, 214, 220));
    for (int x = 0; x < image.width(); x += 20)
        painter.drawLine(x, 0, x, image.height());
    for (int y = 0; y < image.height(); y += 20)
        painter.drawLine(0, y, image.width(), y);
    painter.setPen(QPen(QColor(90, 100, 115), 2));
    painter.drawRect(1, 1, image.width() - 3, image.height() - 3);
    painter.end();
    return image.save(path, "BMP");
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: veltrona-templates OUTPUT_FOLDER\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        err << "cannot create " << folder << "\n";
        return 1;
    }
    QSet<QString> seen;
    try {
        for (const Templates::Builder &builder : Templates::all()) {
            const TableDef def = builder();
            if (seen.contains(def.fileName.toLower())) {
                err << "template " << def.fileName << " is declared twice\n";
                return 1;
            }
            seen.insert(def.fileName.toLower());
            TableFile::create(QDir(folder).filePath(def.fileName), def);
        }
    } catch (const EngineError &e) {
        err << "template generation failed: " << e.text() << "\n";
        return 1;
    }
    if (!writeZonePicture(QDir(folder).filePath(QStringLiteral("Zona.bmp")))) {
        err << "cannot write Zona.bmp\n";
        return 1;
    }
    return 0;
}
