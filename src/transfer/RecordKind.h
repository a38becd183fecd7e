#pragma once

#include <QString>

// The kinds of record a central unit keeps in its configuration memory.
// The three control-panel blocks (daylight-saving dates, incidence settings,
// decoder bus settings) have their place in the map but are assembled by the
// control panel, not by the record encoders.
enum class RecordKind {
    LiftCode,
    LiftLicence,
    DaylightSaving,
    Profile,
    HolidayDays,
    HolidayPeriods,
    Timetable,
    AccessPoint,
    Zone,
    Area,
    Sensor,
    Message,
    Phone,
    RelayGroup,
    Scheduler,
    IncidenceSettings,
    DecoderBus,
    User,       // a 32-byte slot of user memory, not a configuration record
    LiftTimes,  // the two bytes of the set-lift-times request, not a memory record
};

namespace RecordKinds {

// A short English name for errors and traces ("timetable", "access point").
QString name(RecordKind kind);

// The image table suffix the rows come from ("_AXOTIM"); "_Msgs" and
// "_Phones" for the kinds read straight from the installation tables; empty
// for the control-panel blocks.
QString sourceTable(RecordKind kind);

} // namespace RecordKinds
