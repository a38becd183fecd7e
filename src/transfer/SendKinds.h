#pragma once

#include <QList>
#include <QString>

// The send kinds: what the send wizard sends for each vocabulary key. The
// wizard is given the caption of a key in the current language and runs
// every branch whose key's caption equals it (without regard to case), in
// the order of this table.
namespace SendKinds {

enum class Branch {
    ConfigurationWithUsers, // CONF_USR: the user list, then the full configuration
    Configuration,          // CONFIGUR: the full configuration without users
    ZonesThenAccess,        // ACC
    Profiles,               // PRO
    Areas,                  // ARE
    Timetables,             // TIM, then "Reset now?"
    Lifts,                  // LIC, STAN_PIS, LTM: licences, lift codes and lift times
    AccessPoints,           // LIF, ACC_ZON
    Holidays,               // HOL, then "Reset now?" when written
    Zones,                  // ZON
    Phones,                 // STAN_PHO
    Messages,               // STAN_MES
    Sensors,                // SEN
    RelayGroups,            // REL
    Scheduler,              // SCH
    Users,                  // USR, APA
};

struct Entry {
    QString key;
    Branch branch;
};

// The table in its order.
const QList<Entry> &table();
// Every vocabulary key of the table, in order, without repeats.
QStringList keys();
// The branches whose key's caption (Lang::word) matches `caption`.
QList<Branch> branchesFor(const QString &caption);
// The branches of one key (the command line names keys, not captions).
QList<Branch> branchesForKey(const QString &key);

} // namespace SendKinds
