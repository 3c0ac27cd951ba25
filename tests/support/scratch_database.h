#pragma once
// A small database file of its own for a test: a master table Items and a
// detail table Lines, with the column types the suite uses.

#include "datastore/db_connection.h"

#include <QTemporaryDir>

#include <memory>

namespace velmora::test {

class ScratchDatabase {
public:
    ScratchDatabase();
    QString path() const { return m_dir.filePath(QStringLiteral("scratch.db")); }
    DbConnection& connection() { return *m_connection; }
    // Adds an item and returns its key.
    qint64 addItem(const QString& name, qint64 amount = 0, bool done = false);
    qint64 addLine(qint64 itemId, const QString& text);
    qint64 count(const QString& table);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<DbConnection> m_connection;
};

} // namespace velmora::test
