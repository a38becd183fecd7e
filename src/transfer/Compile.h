#pragma once

#include "transfer/ImageRow.h"

#include <QString>
#include <QVariant>

#include <functional>

// Compiling a block's installation tables into its CU image tables: the rows
// of `_Profiles`, `_Timetables`, ... are copied into `_AXOPRO`, `_AXOTIM`,
// ... in the shape the record encoders want (zero-filled numbers, flags,
// direction letters). Every image table but `_AXOUSR` keeps its fixed rows
// NR 0 .. room − 1 and each row is edited from the installation row of that
// number, or cleared when there is none; `_AXOUSR` is rebuilt from `_Users`.
//
// Each compile runs in one transaction on its image table: it is either
// complete or, after any error, the image table is as it was before.
namespace Compile {

enum class Kind {
    Profiles,     // _Profiles      -> _AXOPRO
    Areas,        // _Group_Zones   -> _AXOARE
    Timetables,   // _Timetables    -> _AXOTIM
    LiftCodes,    // _Lift_Codes    -> _AXOCOD
    LiftLicences, // _License       -> _AXOLIC
    AccessPoints, // _Access        -> _AXOACC
    Zones,        // _Zones, _Zones_aux -> _AXOZON
    Sensors,      // _Sensor        -> _AXOSEN
    RelayGroups,  // _Rele          -> _AXOREL
    Scheduler,    // _Scheduler     -> _AXOSCH
    Holidays,     // _Hday, _Hper   -> _AXOHL1, _AXOHL2
    Users,        // _Users         -> _AXOUSR
};

// Every kind, in the order above.
const QList<Kind> &allKinds();
QString kindName(Kind kind);          // "profiles", "lift codes", ...
QString imageSuffix(Kind kind);       // "_AXOPRO"; "_AXOHL1" for the holidays
QString sourceSuffix(Kind kind);      // "_Profiles"; "_Hday" for the holidays

// The progress of one compile: the number of rows to go through, then each
// row done (1 .. maximum).
struct Progress {
    std::function<void(int maximum)> started;
    std::function<void(int position)> step;
};

struct Outcome {
    bool ok = false;
    int rows = 0;      // image rows written
    QString error;     // the engine's text when not ok, with the item
};

// Compiles one kind of the block `prefix` (installation + "_" + block) in
// the work folder `folder`. Never throws: a table error ends the compile,
// rolls it back and is returned in the outcome.
Outcome run(Kind kind, const QString &folder, const QString &prefix, const Progress &progress = {});

// What the users window shows for one user, to build the one-row `_AXOUSR`
// of the on-line operations.
struct ScreenUser {
    QVariant autoPk;            // AUTO_PK of the user row
    QString name;               // NOMBRE
    QString floor;              // PISO_USR
    QString door;               // PTA_PIN
    QString code;               // CODIGO
    QString profile;            // description of the chosen profile; empty: none
    QString liftLicence;        // description of the chosen lift licence; empty: none
    bool unlock = false;        // DESB
    QString deviceKind;         // TIPO_DISPOSITIVO (word of REL, SEN or APA)
    QString device;             // DISPOSITIVO
    QString userNumber;         // N_USUARIO
};

// PREPARA_PARA_AXOUSR: empties `_AXOUSR` of the block and writes the one row
// of `user` with the value rules of the user compile, except that LEVEL is
// "127" when no profile is chosen, the profile and the lift licence are
// found by description in `_Profiles` and `_License`, and USER is always the
// user number zero-filled to five digits. Returns the row written. Throws
// EngineError when a table cannot be used, and std::invalid_argument (with
// the description) when a named profile or licence does not exist.
ImageRow PREPARA_PARA_AXOUSR(const QString &folder, const QString &prefix, const ScreenUser &user);

// The value rules shared with the users window and the receive.
QVariant zeroFilled(const QVariant &value, int width); // null for empty; else left-filled with "0"
bool isRelayKind(const QString &deviceKind);            // the word of REL, without regard to case
bool isSensorKind(const QString &deviceKind);           // the word of SEN
bool isApartmentKind(const QString &deviceKind);        // the word of APA

} // namespace Compile
