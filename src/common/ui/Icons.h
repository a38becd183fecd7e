#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's icon set: SVG drawings compiled into the program, rendered
// at the sizes the windows use (16 to 48 pixels) and cached.
//
// Names: the node kinds of the installation tree (installation,
// installation_modem, block, block_ok, block_off, central_unit, access,
// apartment, guard, indoor, sensor, scheduler, lift_control, lift,
// lift_licence, access_control, profile, timetable, area, zone, user,
// holidays, period, trades, relay, phone, message), results (ok, failure,
// unavailable), the main toolbar (open, new_installation, work_folder, cut,
// copy, paste, cascade, tile_horizontal, tile_vertical, minimize_all,
// arrange_all, pc_info, serial_port, connection, status, test, options,
// about, exit, close, language), the navigator (nav_back, nav_next, nav_new,
// nav_delete, nav_save, nav_cancel) and the program's own (veltrona,
// veltrona_light for dark backgrounds).
namespace Icons {

// Registers the compiled-in drawings; called once by anything that shows
// icons (icon() calls it itself).
void init();

// The icon of that name; a null icon for a name that is not in the set.
QIcon icon(const QString &name);
// One rendering at `size` × `size` pixels; a null pixmap when unknown.
QPixmap pixmap(const QString &name, int size);
bool exists(const QString &name);
// Resource path of a drawing (":/icons/<name>.svg").
QString path(const QString &name);
// Every name in the set.
QStringList names();

// The icon name of a tree node's vocabulary key (ACC, PRO, ...): PER and IVD
// share one drawing, TIM and LTM share one; "ALARMS" shows the sensors'
// drawing; anything else (a block, "BLOQUE", an unknown caption) the block's.
QString forVocabularyKey(const QString &key);

} // namespace Icons
