#pragma once

#include "store/Components.h"

#include <QString>

// The operations the editors share on a block's tables. Each opens the tables
// it needs in the work folder, does its work and closes them again; none
// keeps state. `prefix` is the block prefix N + "_" + B.
namespace SharedTables {

// The text left-padded with "0" to the width; a longer text is returned unchanged.
QString zeroFill(const QString &text, int width);

// The smallest number of `field` not used in the table, from 0 up to `limit`;
// `limit` itself when every number below it is taken.
int lowestFreeNumber(const QString &folder, const QString &tableFile, const QString &field, int limit);

// Device usage. `side` "B" selects the relays' table _Who_Item, any other
// letter the sensors' table _Who_ItemS.
QString usageTable(const QString &prefix, const QString &side);
// Removes every usage row of the item `who` with the usage kind.
void releaseDeviceUsage(const QString &folder, const QString &prefix, const QString &side, const QString &who,
                        const QString &kind);
// Writes the usage rows of one device number, zero-filled to 3; an "F" in a
// position stands for all ten digits of it (and of the positions after it).
// Returns the number of rows written.
int recordDeviceUsage(const QString &folder, const QString &prefix, const QString &side, const QString &device,
                      const QString &kind, const QString &who);

struct RelayGroup {
    bool found = false;
    QString time;         // TIEMPO as text, "0" when empty
    bool valid = false;   // VALIDO
    bool on = false;      // ESTADO = "On"
    QString description;
};
// The relay group of a relay number (its first character); not found for an
// empty number, a number starting with "F", or a table that cannot be read.
RelayGroup relayGroupLookup(const QString &folder, const QString &prefix, const QString &device);

// True when the relay is used by another item, or by the same item with
// another usage kind. False when the table cannot be read.
bool deviceUsedElsewhere(const QString &folder, const QString &prefix, const QString &device, const QString &who,
                         const QString &kind);

// DESCRIPCION of the profiles 120, 125, 126, 127 set to the current language's texts.
void refreshSystemProfileNames(const QString &folder, const QString &prefix);
// SENDA_FOTO of every zone set to the system folder's Zona.bmp.
void setDefaultZonePicture(const QString &folder, const QString &prefix, const QString &systemFolder);

// Components (_Items_Contiene), ITEM compared without regard to case.
bool hasComponent(const QString &folder, const QString &prefix, const QString &item);
void setComponent(const QString &folder, const QString &prefix, const QString &item, bool on);
// The eight flags by ORDEN.
Components::Flags readComponents(const QString &folder, const QString &prefix);
// Sets all eight flags (by ORDEN) in one transaction.
void writeComponents(const QString &folder, const QString &prefix, const Components::Flags &flags);

// Holidays: a block holds at most 20 holiday days (_Hday) and 2 holiday
// periods (_Hper). True when one more row may be added.
inline constexpr int kMaxHolidayDays = 20;
inline constexpr int kMaxHolidayPeriods = 2;
bool canAddHolidayDay(const QString &folder, const QString &prefix);
bool canAddHolidayPeriod(const QString &folder, const QString &prefix);

// Resets the tables of a component that is taken out of the block. False
// when the removal is refused (accesses while the block has access points);
// nothing is changed then.
bool removeComponentTables(const QString &folder, const QString &prefix, const QString &item,
                           const QString &systemFolder);

} // namespace SharedTables
