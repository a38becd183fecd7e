#include "common/ui/Icons.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

static void registerIconResources()
{
    // The drawings are compiled into this static library; a static
    // library's resources are registered by hand.
    Q_INIT_RESOURCE(veltrona);
}

namespace Icons {

void init()
{
    static const bool done = [] {
        registerIconResources();
        return true;
    }();
    (void)done;
}

QString path(const QString &name) { return QStringLiteral(":/icons/") + name + QStringLiteral(".svg"); }

bool exists(const QString &name)
{
    init();
    return QFile::exists(path(name));
}

QStringList names()
{
    init();
    QStringList out;
    for (const QString &file : QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("*.svg")}, QDir::Files))
        out << file.chopped(4);
    return out;
}

QPixmap pixmap(const QString &name, int size)
{
    init();
    QSvgRenderer renderer(path(name));
    if (!renderer.isValid())
        return QPixmap();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return QPixmap::fromImage(image);
}

QIcon icon(const QString &name)
{
    static QHash<QString, QIcon> cache;
    const auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    QIcon result;
    if (exists(name)) {
        for (int size : {16, 20, 24, 32, 48})
            result.addPixmap(pixmap(name, size));
    }
    cache.insert(name, result);
    return result;
}

QString forVocabularyKey(const QString &key)
{
    static const QHash<QString, QString> map = {
        {QStringLiteral("ACC"), QStringLiteral("access")},      {QStringLiteral("APA"), QStringLiteral("apartment")},
        {QStringLiteral("IND"), QStringLiteral("indoor")},      {QStringLiteral("GUA"), QStringLiteral("guard")},
        {QStringLiteral("SEN"), QStringLiteral("sensor")},      {QStringLiteral("ALARMS"), QStringLiteral("sensor")},
        {QStringLiteral("SCH"), QStringLiteral("scheduler")},   {QStringLiteral("LFT"), QStringLiteral("lift_control")},
        {QStringLiteral("LIC"), QStringLiteral("lift_licence")}, {QStringLiteral("LIF"), QStringLiteral("lift")},
        {QStringLiteral("LTM"), QStringLiteral("timetable")},   {QStringLiteral("ACT"), QStringLiteral("access_control")},
        {QStringLiteral("PRO"), QStringLiteral("profile")},     {QStringLiteral("TIM"), QStringLiteral("timetable")},
        {QStringLiteral("ARE"), QStringLiteral("area")},        {QStringLiteral("ZON"), QStringLiteral("zone")},
        {QStringLiteral("USR"), QStringLiteral("user")},        {QStringLiteral("HOL"), QStringLiteral("holidays")},
        {QStringLiteral("PER"), QStringLiteral("period")},      {QStringLiteral("IVD"), QStringLiteral("period")},
        {QStringLiteral("TRD"), QStringLiteral("trades")},      {QStringLiteral("REL"), QStringLiteral("relay")},
        {QStringLiteral("STAN_PHO"), QStringLiteral("phone")},  {QStringLiteral("STAN_MES"), QStringLiteral("message")},
    };
    return map.value(key, QStringLiteral("block"));
}

} // namespace Icons
