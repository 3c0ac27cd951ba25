#pragma once
// Where the database file lies, the connection string that names it, and the
// copy each program publishes in the settings store so the others open the
// same file.

#include <QString>

namespace velmora {

inline constexpr char kDatabaseFileName[] = "VelmoraV2.mdb";
// Under the product root (kProductRootKey).
inline constexpr char kConnectionStringKey[] = "Connection String";
// The main program's published name, which the satellites read.
inline constexpr char kCenterPublishedName[] = "Velmora Center";

// Install root + "Data/" + fileName.
QString GetDefaultDatabasePath(const QString& fileName);

// "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + path +
// ";Mode=Share Deny None;", the path as it is, without quotes.
QString BuildConnectionString(const QString& path);

// The file a connection string names: what follows "Data Source=" up to the
// next ";" (or the end), blanks around it removed; empty when there is none.
QString DataSourceOf(const QString& connectionString);

// The number published beside the connection string, process-wide; 0 at start.
int DatabaseUsed();
void SetDatabaseUsed(int value);

// The name under which this process publishes its connection string;
// "Velmora Center" unless the program sets its own.
QString PublishedName();
void SetPublishedName(const QString& name);

// Writes, under the key, the value PublishedName() = the enciphered string
// and PublishedName() + " DatabaseUsed" = DatabaseUsed() as decimal text.
// A failure is logged on "CommUnit" and goes no further.
void WriteConnectionString(const QString& connectionString);

// The deciphered string published under name (empty when the key or value
// is missing), and DatabaseUsed set from name + " DatabaseUsed". A failure
// while reading or converting ends the reading silently: what was read
// before it stands.
QString ReadConnectionString(const QString& name);

} // namespace velmora
