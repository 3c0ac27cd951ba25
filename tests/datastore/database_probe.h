#pragma once
// Reads a database file in a test: one handle of its own, answers as plain values.

#include "platform/sqlite_statement.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <sqlite3.h>

#include <stdexcept>

namespace velmora::test {

class DatabaseProbe {
public:
    explicit DatabaseProbe(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            throw std::runtime_error("cannot open " + path.toStdString());
        }
    }
    ~DatabaseProbe() { sqlite3_close(m_db); }
    DatabaseProbe(const DatabaseProbe&) = delete;
    DatabaseProbe& operator=(const DatabaseProbe&) = delete;

    sqlite3* handle() const { return m_db; }

    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {}) const
    {
        const QByteArray utf8 = sql.toUtf8();
        platform::SqliteStatement statement(m_db, utf8.constData());
        for (int i = 0; i < values.size(); ++i)
            statement.bindValue(i + 1, values[i]);
        QList<QVariantList> result;
        while (statement.step()) {
            QVariantList row;
            for (int column = 0; column < statement.columnCount(); ++column)
                row.append(statement.value(column));
            result.append(row);
        }
        return result;
    }

    QVariant value(const QString& sql, const QVariantList& values = {}) const
    {
        const QList<QVariantList> result = rows(sql, values);
        return result.isEmpty() || result.first().isEmpty() ? QVariant() : result.first().first();
    }

    qint64 integer(const QString& sql, const QVariantList& values = {}) const
    {
        return value(sql, values).toLongLong();
    }

    QString text(const QString& sql, const QVariantList& values = {}) const
    {
        return value(sql, values).toString();
    }

private:
    sqlite3* m_db = nullptr;
};

} // namespace velmora::test
