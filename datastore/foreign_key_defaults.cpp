#include "datastore/foreign_key_defaults.h"

#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/query_tags.h"
#include "foundation/debug_agent.h"

namespace velmora {

namespace {

ForeignKeyDefaults g_defaults;

const QString kDefaultIndexSql = QStringLiteral(
    "SELECT * FROM      (SELECT TOP 1 CategoryID       FROM Categories     ORDER BY CategoryID) AS TableB,      "
    "(SELECT TOP 1 PlaceID          FROM Places         ORDER BY PlaceID) AS TableC,      (SELECT TOP 1 UserID  "
    "         FROM Users          ORDER BY UserID) AS TableD,      (SELECT TOP 1 RegionID         FROM Regions   "
    "     ORDER BY RegionID) AS TableH ");

struct DefaultKey {
    const char* field;
    int value;
    int ownTag; // the table the key belongs to never gets it as a default
};

void applyDefaults(DataSet& ds, bool onlyNullFields)
{
    const DefaultKey keys[] = {
        {"CategoryID", g_defaults.categoryID, kTagCategories},
        {"PlaceID", g_defaults.placeID, kTagPlaces},
        {"UserID", g_defaults.userID, kTagUsers},
    };
    for (const DefaultKey& key : keys) {
        if (key.value <= 0 || ds.tag() == key.ownTag)
            continue;
        Field* field = ds.findField(QLatin1String(key.field));
        if (field && (!onlyNullFields || field->isNull()))
            field->setValue(key.value);
    }
}

} // namespace

const ForeignKeyDefaults& defaultForeignKeys()
{
    return g_defaults;
}

void GetDefaultIndex(DataSet& scratchQuery)
{
    g_defaults = ForeignKeyDefaults();
    scratchQuery.close();
    scratchQuery.setSql(kDefaultIndexSql);
    scratchQuery.open();
    if (scratchQuery.isEmpty())
        return;
    g_defaults.categoryID = int(scratchQuery.fieldByName(QStringLiteral("CategoryID")).asInteger());
    g_defaults.placeID = int(scratchQuery.fieldByName(QStringLiteral("PlaceID")).asInteger());
    g_defaults.userID = int(scratchQuery.fieldByName(QStringLiteral("UserID")).asInteger());
    g_defaults.regionID = int(scratchQuery.fieldByName(QStringLiteral("RegionID")).asInteger());
    const QString lineEnd = QStringLiteral(", \r\n");
    SendDebugMessage(QString::fromLatin1(kChannelForeignKeys), kTraceLevel,
                     QStringLiteral("GetDefaultIndex: iFKCategoryID: ") + QString::number(g_defaults.categoryID)
                         + lineEnd + QStringLiteral("iFKPlaceID   : ") + QString::number(g_defaults.placeID) + lineEnd
                         + QStringLiteral("iFKUserID    : ") + QString::number(g_defaults.userID) + lineEnd
                         + QStringLiteral("iFKRegionID  : ") + QString::number(g_defaults.regionID) + lineEnd);
}

void ApplyDefaultForeignKeys(DataSet& ds)
{
    applyDefaults(ds, false);
}

void ChangeForeignKeyFieldsWithNullValueToDefaultIndex(DataSet& ds)
{
    SendDebugMessage(QString::fromLatin1(kChannelForeignKeys), kTraceLevel,
                     QStringLiteral("ChangeForeignKeyFieldsWithNullValueToDefaultIndex: ") + ds.name());
    applyDefaults(ds, true);
}

} // namespace velmora
