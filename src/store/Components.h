#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The eight components a block may have, as recorded in its _Items_Contiene
// table. A component is named by its ITEM code; ORDEN is its row's place.
namespace Components {

struct Component {
    int orden;         // ORDEN of its _Items_Contiene row
    const char *item;  // ITEM code
    const char *word;  // vocabulary key of its tree node
};

inline constexpr std::array<Component, 8> kByOrden{{
    {0, "ACC", "ACC"},
    {1, "APT", "APA"},
    {2, "ACT", "ACT"},
    {3, "LCT", "LFT"},
    {4, "SCH", "SCH"},
    {5, "GUD", "GUA"},
    {6, "IND", "IND"},
    {7, "ALA", "SEN"},
}};

// The order in which a new block's component nodes are placed in the tree.
inline constexpr std::array<const char *, 8> kTreeOrder{{"ACC", "APT", "GUD", "IND", "ALA", "SCH", "LCT", "ACT"}};

// The component chooser of the installation window lists them in this order.
inline constexpr std::array<const char *, 8> kChooserOrder{{"ACC", "APT", "LCT", "ALA", "GUD", "IND", "SCH", "ACT"}};

// The component of an ITEM code, compared without regard to case; nullptr when none.
inline const Component *byItem(const QString &item)
{
    for (const Component &c : kByOrden)
        if (item.compare(QLatin1String(c.item), Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

// The component of a tree key (ACC, APA, ...); nullptr when none.
inline const Component *byWord(const QString &word)
{
    for (const Component &c : kByOrden)
        if (word == QLatin1String(c.word))
            return &c;
    return nullptr;
}

// The eight flags in ORDEN order.
using Flags = std::array<bool, 8>;

} // namespace Components
