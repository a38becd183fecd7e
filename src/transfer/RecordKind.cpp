#include "transfer/RecordKind.h"

namespace RecordKinds {

QString name(RecordKind kind)
{
    switch (kind) {
    case RecordKind::LiftCode: return QStringLiteral("lift code");
    case RecordKind::LiftLicence: return QStringLiteral("lift licence");
    case RecordKind::DaylightSaving: return QStringLiteral("daylight-saving dates");
    case RecordKind::Profile: return QStringLiteral("profile");
    case RecordKind::HolidayDays: return QStringLiteral("holiday days");
    case RecordKind::HolidayPeriods: return QStringLiteral("holiday period");
    case RecordKind::Timetable: return QStringLiteral("timetable");
    case RecordKind::AccessPoint: return QStringLiteral("access point");
    case RecordKind::Zone: return QStringLiteral("zone");
    case RecordKind::Area: return QStringLiteral("area");
    case RecordKind::Sensor: return QStringLiteral("sensor");
    case RecordKind::Message: return QStringLiteral("message");
    case RecordKind::Phone: return QStringLiteral("phone numbers");
    case RecordKind::RelayGroup: return QStringLiteral("relay group");
    case RecordKind::Scheduler: return QStringLiteral("scheduler entry");
    case RecordKind::IncidenceSettings: return QStringLiteral("incidence settings");
    case RecordKind::DecoderBus: return QStringLiteral("decoder bus settings");
    case RecordKind::User: return QStringLiteral("user");
    case RecordKind::LiftTimes: return QStringLiteral("lift times");
    }
    return QString();
}

QString sourceTable(RecordKind kind)
{
    switch (kind) {
    case RecordKind::LiftCode: return QStringLiteral("_AXOCOD");
    case RecordKind::LiftLicence: return QStringLiteral("_AXOLIC");
    case RecordKind::Profile: return QStringLiteral("_AXOPRO");
    case RecordKind::HolidayDays: return QStringLiteral("_AXOHL1");
    case RecordKind::HolidayPeriods: return QStringLiteral("_AXOHL2");
    case RecordKind::Timetable: return QStringLiteral("_AXOTIM");
    case RecordKind::AccessPoint: return QStringLiteral("_AXOACC");
    case RecordKind::Zone: return QStringLiteral("_AXOZON");
    case RecordKind::Area: return QStringLiteral("_AXOARE");
    case RecordKind::Sensor: return QStringLiteral("_AXOSEN");
    case RecordKind::Message: return QStringLiteral("_Msgs");
    case RecordKind::Phone: return QStringLiteral("_Phones");
    case RecordKind::RelayGroup: return QStringLiteral("_AXOREL");
    case RecordKind::Scheduler: return QStringLiteral("_AXOSCH");
    case RecordKind::User: return QStringLiteral("_AXOUSR");
    case RecordKind::LiftTimes: return QStringLiteral("_Lift_Time");
    case RecordKind::DaylightSaving:
    case RecordKind::IncidenceSettings:
    case RecordKind::DecoderBus:
        return QString();
    }
    return QString();
}

} // namespace RecordKinds
