#pragma once
// The master category list the product ships with: a new database holds it,
// and resetting the category list brings it back.

#include <QStringList>

namespace velmora {

// The 21 names, in the order the product lists them.
QStringList defaultCategoryNames();

} // namespace velmora
