#include "transfer/SendKinds.h"

#include "frame/Lang.h"

namespace SendKinds {

const QList<Entry> &table()
{
    static const QList<Entry> entries{
        {QStringLiteral("CONF_USR"), Branch::ConfigurationWithUsers},
        {QStringLiteral("CONFIGUR"), Branch::Configuration},
        {QStringLiteral("ACC"), Branch::ZonesThenAccess},
        {QStringLiteral("PRO"), Branch::Profiles},
        {QStringLiteral("ARE"), Branch::Areas},
        {QStringLiteral("TIM"), Branch::Timetables},
        {QStringLiteral("LIC"), Branch::Lifts},
        {QStringLiteral("STAN_PIS"), Branch::Lifts},
        {QStringLiteral("LTM"), Branch::Lifts},
        {QStringLiteral("LIF"), Branch::AccessPoints},
        {QStringLiteral("ACC_ZON"), Branch::AccessPoints},
        {QStringLiteral("HOL"), Branch::Holidays},
        {QStringLiteral("ZON"), Branch::Zones},
        {QStringLiteral("STAN_PHO"), Branch::Phones},
        {QStringLiteral("STAN_MES"), Branch::Messages},
        {QStringLiteral("SEN"), Branch::Sensors},
        {QStringLiteral("REL"), Branch::RelayGroups},
        {QStringLiteral("SCH"), Branch::Scheduler},
        {QStringLiteral("USR"), Branch::Users},
        {QStringLiteral("APA"), Branch::Users},
    };
    return entries;
}

QStringList keys()
{
    QStringList list;
    for (const Entry &e : table())
        if (!list.contains(e.key))
            list << e.key;
    return list;
}

namespace {
void addOnce(QList<Branch> &list, Branch b)
{
    // Keys sharing a branch (LIC, STAN_PIS, LTM) run it once.
    if (!list.contains(b))
        list << b;
}
} // namespace

QList<Branch> branchesFor(const QString &caption)
{
    QList<Branch> list;
    const QString wanted = caption.trimmed().toUpper();
    if (wanted.isEmpty())
        return list;
    for (const Entry &e : table())
        if (Lang::word(e.key).trimmed().toUpper() == wanted)
            addOnce(list, e.branch);
    return list;
}

QList<Branch> branchesForKey(const QString &key)
{
    QList<Branch> list;
    for (const Entry &e : table())
        if (e.key.compare(key.trimmed(), Qt::CaseInsensitive) == 0)
            addOnce(list, e.branch);
    return list;
}

} // namespace SendKinds
