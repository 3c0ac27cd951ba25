#include "tests/support/scratch_database.h"

namespace velmora::test {

ScratchDatabase::ScratchDatabase()
{
    m_connection = DbConnection::open(path(), true);
    m_connection->execute(QStringLiteral(
        "CREATE TABLE Items (ItemID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, Amount INTEGER, "
        "Done BOOLEAN DEFAULT 0, Due DATETIME, Notes LONGTEXT, Price DOUBLE, Picture BLOB, "
        "Code TEXT CHECK (Code IS NULL OR length(Code) <= 3))"));
    m_connection->execute(QStringLiteral(
        "CREATE TABLE Lines (LineID INTEGER PRIMARY KEY AUTOINCREMENT, ItemID INTEGER, Text TEXT)"));
}

qint64 ScratchDatabase::addItem(const QString& name, qint64 amount, bool done)
{
    m_connection->execute(QStringLiteral("INSERT INTO Items (Name, Amount, Done) VALUES (?1, ?2, ?3)"),
                          {name, amount, done});
    return m_connection->lastInsertRowId();
}

qint64 ScratchDatabase::addLine(qint64 itemId, const QString& text)
{
    m_connection->execute(QStringLiteral("INSERT INTO Lines (ItemID, Text) VALUES (?1, ?2)"), {itemId, text});
    return m_connection->lastInsertRowId();
}

qint64 ScratchDatabase::count(const QString& table)
{
    return m_connection->scalar(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong();
}

} // namespace velmora::test
