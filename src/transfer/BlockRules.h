#pragma once

#include "store/Components.h"
#include "store/InstallationStore.h"

#include <QList>
#include <QString>

#include <array>

// What the block windows decide: the components the new-block wizard offers
// for a block type, and which new block names and codes are acceptable in an
// installation.
namespace BlockRules {

// The wizard's component flags, in its fixed order: 0 accesses,
// 1 apartments, 2 guard unit, 3 indoor panel, 4 sensors, 5 scheduler,
// 6 lift control, 7 access control. kWizardItems gives the ITEM code of each.
inline constexpr std::array<const char *, 8> kWizardItems{{"ACC", "APT", "GUD", "IND", "ALA", "SCH", "LCT", "ACT"}};
// The vocabulary key of each flag's caption on the finish page.
inline constexpr std::array<const char *, 8> kWizardWords{{"ACC", "APA", "GUA", "IND", "SEN", "SCH", "LFT", "ACT"}};

enum class Offer { Ticked, Optional, Off };
using Offers = std::array<Offer, 8>;
using WizardFlags = std::array<bool, 8>;

// The check boxes a block type (1..3) offers and how they start; a type
// outside 1..3 is taken as 1.
Offers offersFor(int type);
// The flags a type starts with (the ticked ones).
WizardFlags defaultFlags(int type);
// The type number of one of the type texts; a text that matches none is 1.
int typeOfText(const QString &typeText);
// Wizard flags → the block's component flags (by ORDEN); flags a type does
// not offer are off.
Components::Flags toComponents(int type, const WizardFlags &flags);

// The blocks already in an installation (name and code), read from its
// installation file; empty when it has none or cannot be read.
struct UsedBlock {
    QString name;
    int code = 0;
};
QList<UsedBlock> usedBlocks(const QString &folder, const QString &installation);

// Why a new block name and code cannot be used in the installation whose
// blocks are `used` (plus `pending`, blocks chosen but not yet written):
// empty name or code ("Insert name, central unit type and code"), a name
// already there without regard to case, a code already there, a code that
// is not a number from 0 to 63. Empty when both are free.
enum class Refusal { None, Missing, BadName, NameUsed, CodeUsed, CodeRange };
struct Check {
    Refusal refusal = Refusal::None;
    QString message;
    explicit operator bool() const { return refusal == Refusal::None; }
};
Check checkNewBlock(const QString &name, const QString &codeText, const QList<UsedBlock> &used,
                    const QList<UsedBlock> &pending = {});

// The block the new-block wizard adds.
InstallationStore::NewBlock newBlock(const QString &name, int code, int type, const WizardFlags &flags);

} // namespace BlockRules
