#pragma once
// The default foreign keys (lowest category, place, user and region) a new
// or posted record gets where it has none; filled once after the database opens.

namespace velmora {

class DataSet;

struct ForeignKeyDefaults {
    int categoryID = 0;
    int placeID = 0;
    int userID = 0; // also the reserved user, whose row can not be deleted
    int regionID = 0;
};

// The cache of this process; all 0 until GetDefaultIndex found rows.
const ForeignKeyDefaults& defaultForeignKeys();

// Clears the cache and fills it through the scratch query (whose SQL is
// replaced); it stays cleared when one of the four tables is empty.
void GetDefaultIndex(DataSet& scratchQuery);

// For a new record: every cached key above 0 goes into the field of that
// name, except in the key's own table.
void ApplyDefaultForeignKeys(DataSet& ds);
// Before a post: the same, for fields that are NULL only.
void ChangeForeignKeyFieldsWithNullValueToDefaultIndex(DataSet& ds);

} // namespace velmora
