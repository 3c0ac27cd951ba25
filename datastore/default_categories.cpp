#include "datastore/default_categories.h"

namespace velmora {

QStringList defaultCategoryNames()
{
    // Kept as the one text the product has always carried, blanks and all.
    static const QStringList names = [] {
        QStringList list;
        const QString text = QStringLiteral(
            "Birthday, Business, Competition, Favorites, Gifts,Goals/Objectives, Holiday, Holiday Cards, "
            "Hot Contacts,Ideas, International, Key Customer, Miscellaneous, Personal,Phone Calls, Status, "
            "Strategies, Suppliers, Time & Expenses, VIP, Waiting");
        for (const QString& part : text.split(QLatin1Char(',')))
            list.append(part.trimmed());
        return list;
    }();
    return names;
}

} // namespace velmora
