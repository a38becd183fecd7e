#include "store/TableFamilies.h"

#include "store/StoreError.h"
#include "store/StoreTexts.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableFamily.h"

#include <QSet>

namespace TableFamilies {

const QList<Family> &blockTables()
{
    static const QList<Family> list{
        {QStringLiteral("_AXOPRO"), QStringLiteral("AXOPRO")},
        {QStringLiteral("_AXOTIM"), QStringLiteral("AXOTIM")},
        {QStringLiteral("_AXOARE"), QStringLiteral("AXOARE")},
        {QStringLiteral("_AXOCOD"), QStringLiteral("AXOCOD")},
        {QStringLiteral("_AXOLIC"), QStringLiteral("AXOLIC")},
        {QStringLiteral("_AXOACC"), QStringLiteral("AXOACC")},
        {QStringLiteral("_AXOHL1"), QStringLiteral("AXOHL1")},
        {QStringLiteral("_AXOHL2"), QStringLiteral("AXOHL2")},
        {QStringLiteral("_AXOZON"), QStringLiteral("AXOZON")},
        {QStringLiteral("_AXOSCH"), QStringLiteral("AXOSCH")},
        {QStringLiteral("_AXOUSR"), QStringLiteral("AXOUSR")},
        {QStringLiteral("_AXOREL"), QStringLiteral("AXOREL")},
        {QStringLiteral("_AXOSEN"), QStringLiteral("AXOSEN")},
        {QStringLiteral("_AXOUSR"), QStringLiteral("AXOUSR")},
        {QStringLiteral("_Msgs"), QStringLiteral("M_MESSAGE")},
        {QStringLiteral("_Phones"), QStringLiteral("M_PHONES")},
        {QStringLiteral("_Profiles"), QStringLiteral("M_PROFILES")},
        {QStringLiteral("_Timetables"), QStringLiteral("M_TIMETABLES")},
        {QStringLiteral("_Access"), QStringLiteral("M_ACCESS")},
        {QStringLiteral("_Lift"), QStringLiteral("M_LIFTS")},
        {QStringLiteral("_License"), QStringLiteral("M_LICENSES")},
        {QStringLiteral("_Lift_Codes"), QStringLiteral("M_LIFT_CODES")},
        {QStringLiteral("_Lift_Time"), QStringLiteral("M_LIFT_TIMES")},
        {QStringLiteral("_Hper"), QStringLiteral("M_HPER")},
        {QStringLiteral("_Hday"), QStringLiteral("M_HDAY")},
        {QStringLiteral("_Items_Contiene"), QStringLiteral("M_ITEMS_HAS")},
        {QStringLiteral("_Indoor"), QStringLiteral("M_INDOOR")},
        {QStringLiteral("_GUnits"), QStringLiteral("M_GUNITS")},
        {QStringLiteral("_Group_Zones"), QStringLiteral("M_AREAS")},
        {QStringLiteral("_Zones"), QStringLiteral("M_ZONES")},
        {QStringLiteral("_Zones_aux"), QStringLiteral("M_ZONES_AUX")},
        {QStringLiteral("_Users"), QStringLiteral("M_USERS")},
        {QStringLiteral("_Users__"), QStringLiteral("M_USERS__")},
        {QStringLiteral("_Rele_Valor"), QStringLiteral("M_RELAY_VALUE")},
        {QStringLiteral("_Rele"), QStringLiteral("M_RELAY")},
        {QStringLiteral("_Rele_Descripcion"), QStringLiteral("M_RELAY_DESC")},
        {QStringLiteral("_Who_Item"), QStringLiteral("M_WHO_ITEM")},
        {QStringLiteral("_Sensor"), QStringLiteral("M_SENSOR")},
        {QStringLiteral("_Sensor_Desc"), QStringLiteral("M_SENSOR_DESC")},
        {QStringLiteral("_Who_ItemS"), QStringLiteral("M_WHO_ITEMS")},
        {QStringLiteral("_Sensor_M"), QStringLiteral("M_SENSOR_M")},
        {QStringLiteral("_Scheduler"), QStringLiteral("M_SCHEDULER")},
    };
    return list;
}

const QList<Family> &installationTables()
{
    static const QList<Family> list{
        {QStringLiteral("_Events2"), QStringLiteral("M_EVENTS2")},
        {QStringLiteral("_Events2_D"), QStringLiteral("M_EVENTS2_D")},
        {QStringLiteral("_Codes"), QStringLiteral("M_CODES")},
        {QStringLiteral("_Mess"), QStringLiteral("M_MESSAGE_PANEL")},
        {QStringLiteral("_Locator"), QStringLiteral("M_LOCATOR")},
        {QStringLiteral("_connec"), QStringLiteral("M_TYPE_C")},
        {QStringLiteral("_Port"), QStringLiteral("M_PORT")},
    };
    return list;
}

QString blockPrefix(const QString &installation, const QString &block)
{
    return installation + QLatin1Char('_') + block;
}

QString tableName(const QString &folder, const QString &prefix, const QString &suffix)
{
    return folder + prefix + suffix;
}

QStringList missingTemplates(const QList<Family> &families, const QString &systemFolder)
{
    QStringList missing;
    for (const Family &f : families)
        if (TableFamily::members(systemFolder, f.templ).isEmpty() && !missing.contains(f.templ))
            missing << f.templ;
    return missing;
}

namespace {

[[noreturn]] void reportMissing(const QStringList &missing, const QString &folder)
{
    throw StoreError(StoreTexts::text("STORE_TEMPLATE_MISSING", QStringLiteral("Template tables missing in"))
                     + QLatin1Char(' ') + folder + QStringLiteral(": ") + missing.join(QStringLiteral(", ")));
}

void copyFamily(const QString &fromFolder, const QString &fromStem, const QString &toFolder, const QString &toStem)
{
    try {
        TableFamily::copy(fromFolder, fromStem, toFolder, toStem);
    } catch (const EngineError &e) {
        throw StoreError(e.text());
    }
}

} // namespace

void createBlockTables(const QString &workFolder, const QString &prefix, const QString &systemFolder,
                       const std::function<void(const Family &)> &afterCopy, const std::function<void(int)> &progress)
{
    const QStringList missing = missingTemplates(blockTables(), systemFolder);
    if (!missing.isEmpty())
        reportMissing(missing, systemFolder);
    QSet<QString> done;
    int percent = 0;
    bool counting = false;
    for (const Family &f : blockTables()) {
        const QString target = prefix + f.suffix;
        if (!done.contains(target.toLower())) {
            copyFamily(systemFolder, f.templ, workFolder, target);
            done.insert(target.toLower());
        }
        if (afterCopy)
            afterCopy(f);
        if (f.suffix == QLatin1String("_Profiles"))
            counting = true;
        if (counting && progress) {
            percent = std::min(100, percent + 2);
            progress(percent);
        }
    }
    if (progress)
        progress(100);
}

void deleteBlockTables(const QString &workFolder, const QString &prefix)
{
    QSet<QString> done;
    for (const Family &f : blockTables()) {
        const QString stem = prefix + f.suffix;
        if (done.contains(stem.toLower()))
            continue;
        done.insert(stem.toLower());
        try {
            TableFamily::remove(workFolder, stem);
        } catch (const EngineError &e) {
            throw StoreError(e.text());
        }
    }
}

void copyBlockTables(const QString &fromFolder, const QString &fromPrefix, const QString &toFolder,
                     const QString &toPrefix)
{
    QStringList missing;
    for (const Family &f : blockTables())
        if (TableFamily::members(fromFolder, fromPrefix + f.suffix).isEmpty() && !missing.contains(fromPrefix + f.suffix))
            missing << fromPrefix + f.suffix;
    if (!missing.isEmpty())
        throw StoreError(StoreTexts::text("STORE_BLOCK_TABLES_MISSING", QStringLiteral("Block tables missing in"))
                         + QLatin1Char(' ') + fromFolder + QStringLiteral(": ") + missing.join(QStringLiteral(", ")));
    QSet<QString> done;
    for (const Family &f : blockTables()) {
        const QString target = toPrefix + f.suffix;
        if (done.contains(target.toLower()))
            continue;
        done.insert(target.toLower());
        copyFamily(fromFolder, fromPrefix + f.suffix, toFolder, target);
    }
}

void createInstallationTables(const QString &workFolder, const QString &installation, const QString &systemFolder)
{
    const QStringList missing = missingTemplates(installationTables(), systemFolder);
    if (!missing.isEmpty())
        reportMissing(missing, systemFolder);
    for (const Family &f : installationTables())
        copyFamily(systemFolder, f.templ, workFolder, installation + f.suffix);
}

void replaceFromTemplate(const QString &workFolder, const QString &prefix, const QString &suffix,
                         const QString &systemFolder, const QString &templ)
{
    if (TableFamily::members(systemFolder, templ).isEmpty())
        reportMissing({templ}, systemFolder);
    // Each file of the copy replaces its old file in one rename, so the
    // table is whole at every moment.
    copyFamily(systemFolder, templ, workFolder, prefix + suffix);
}

} // namespace TableFamilies
