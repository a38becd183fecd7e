#pragma once

#include "store/engine/TableDef.h"

#include <functional>

// Every template table is declared by a function registered here; the
// generator writes one table file per definition into the system folder.
namespace Templates {

using Builder = std::function<TableDef()>;

void add(const Builder &builder);
const QList<Builder> &all();

struct Registration {
    explicit Registration(const Builder &builder) { add(builder); }
};

} // namespace Templates
