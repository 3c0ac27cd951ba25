#include "datastore/dataset.h"

#include "datastore/abort_error.h"
#include "datastore/db_connection.h"
#include "datastore/filter_expression.h"
#include "datastore/record_store.h"
#include "datastore/sql_dialect.h"
#include "platform/exception.h"
#include "platform/sqlite_statement.h"

#include <QRegularExpression>

#include <cmath>

namespace velmora {

using platform::SqliteStatement;

namespace {

QString quoted(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// The table a "SELECT ... FROM Table ..." reads; empty for a sub-select.
QString baseTableOf(const QString& sql)
{
    static const QRegularExpression from(QStringLiteral("^\\s*SELECT\\b.*?\\bFROM\\s+(?:\"([^\"]+)\"|([A-Za-z_]\\w*))"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::DotMatchesEverythingOption);
    const auto match = from.match(sql);
    if (!match.hasMatch())
        return {};
    return match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
}

FieldType typeOfValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::LongLong: return FieldType::Integer;
    case QMetaType::Double: return FieldType::Float;
    case QMetaType::QString: return FieldType::Text;
    case QMetaType::QByteArray: return FieldType::Blob;
    default: return FieldType::Unknown;
    }
}

// Stored dates are days; a text date written by another tool is read as one.
QVariant normalised(FieldType type, const QVariant& value)
{
    if (type == FieldType::DateTime && value.typeId() == QMetaType::QString) {
        if (auto parsed = DateTime::fromIsoText(value.toString()))
            return parsed->toDays();
    }
    return value;
}

bool sameValue(FieldType type, const QVariant& cell, const QVariant& wanted, int options)
{
    if (cell.isNull() || wanted.isNull())
        return cell.isNull() && wanted.isNull();
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Unknown: {
        const QString text = cell.toString();
        const QString target = wanted.toString();
        const auto sensitivity = (options & LocateCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
        if (options & LocatePartialKey)
            return text.startsWith(target, sensitivity);
        return text.compare(target, sensitivity) == 0;
    }
    case FieldType::Boolean: {
        const bool flag = cell.toDouble() != 0;
        if (wanted.typeId() == QMetaType::QString) {
            const QString word = wanted.toString().trimmed();
            return flag == (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || word == QLatin1String("1")
                            || word == QLatin1String("-1"));
        }
        return flag == (wanted.toDouble() != 0);
    }
    case FieldType::DateTime: {
        const double days = wanted.metaType() == QMetaType::fromType<DateTime>() ? wanted.value<DateTime>().toDays()
                                                                                 : wanted.toDouble();
        return DateTime::fromDays(cell.toDouble()) == DateTime::fromDays(days);
    }
    case FieldType::Integer: return cell.toLongLong() == std::llround(wanted.toDouble());
    case FieldType::Float: return cell.toDouble() == wanted.toDouble();
    case FieldType::Blob: return cell.toByteArray() == wanted.toByteArray();
    }
    return false;
}

} // namespace

DataSet::DataSet(DbConnection* connection, QObject* parent) : QObject(parent), m_connection(connection) {}

DataSet::~DataSet()
{
    qDeleteAll(m_fields);
}

void DataSet::setConnection(DbConnection* connection)
{
    if (isActive())
        close();
    m_connection = connection;
}

void DataSet::setSql(const QString& sql)
{
    if (isActive())
        close();
    m_sql = sql;
}

void DataSet::setParameter(const QString& name, const QVariant& value)
{
    m_parameters.insert(name.startsWith(QLatin1Char(':')) ? name.mid(1) : name, value);
}

QVariant DataSet::parameter(const QString& name) const
{
    return m_parameters.value(name.startsWith(QLatin1Char(':')) ? name.mid(1) : name);
}

void DataSet::setMasterSource(DataSet* master)
{
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    if (!master)
        return;
    connect(master, &DataSet::currentChanged, this, &DataSet::masterChanged);
    connect(master, &DataSet::dataChanged, this, &DataSet::masterChanged);
    connect(master, &QObject::destroyed, this, [this] { m_master = nullptr; });
}

QVariantMap DataSet::currentParameters() const
{
    QVariantMap values = m_parameters;
    if (m_master) {
        const bool hasRecord = m_master->isActive() && m_master->recordCount() > 0;
        for (Field* field : m_master->fields())
            values.insert(field->name(), hasRecord || m_master->isEditing() ? field->value() : QVariant());
    }
    return values;
}

void DataSet::masterChanged()
{
    if (!isActive() || !m_master)
        return;
    QVariantMap wanted = currentParameters();
    bool differs = false;
    for (auto it = m_usedParameters.begin(); it != m_usedParameters.end() && !differs; ++it)
        differs = wanted.value(it.key()) != it.value();
    if (!differs)
        return;
    checkBrowseMode();
    close();
    open();
}

void DataSet::open()
{
    if (isActive())
        return;
    if (!m_connection)
        throw Exception(QStringLiteral("%1: no connection to open the query on").arg(name()));
    if (m_events.beforeOpen)
        m_events.beforeOpen(*this);

    const QString sql = SqlDialect::translate(m_sql);
    SqliteStatement statement(m_connection->handle(), sql.toUtf8().constData());
    const QVariantMap values = currentParameters();
    m_usedParameters.clear();
    for (int position = 1; position <= statement.parameterCount(); ++position) {
        const QString parameterName = statement.parameterName(position).mid(1);
        const QVariant value = values.value(parameterName);
        statement.bindValue(position, value);
        m_usedParameters.insert(parameterName, value);
    }

    auto store = std::make_shared<RecordStore>();
    store->baseTable = baseTableOf(sql);
    QString keyColumn;
    if (!store->baseTable.isEmpty()) {
        keyColumn = m_connection
                        ->scalar(QStringLiteral("SELECT name FROM pragma_table_info(?1) WHERE pk = 1 AND "
                                                "(SELECT count(*) FROM pragma_table_info(?1) WHERE pk > 0) = 1"),
                                 {store->baseTable})
                        .toString();
    }
    const int columns = statement.columnCount();
    for (int column = 0; column < columns; ++column) {
        FieldDefinition definition;
        QString fieldName = statement.columnName(column);
        for (int suffix = 1;; ++suffix) {
            const bool taken = std::any_of(store->fields.begin(), store->fields.end(), [&](const FieldDefinition& f) {
                return f.name.compare(fieldName, Qt::CaseInsensitive) == 0;
            });
            if (!taken)
                break;
            fieldName = statement.columnName(column) + QLatin1Char('_') + QString::number(suffix);
        }
        definition.name = fieldName;
        definition.type = fieldTypeFromDeclared(statement.columnDeclaredType(column));
        if (!store->baseTable.isEmpty()
            && statement.columnTable(column).compare(store->baseTable, Qt::CaseInsensitive) == 0)
            definition.origin = statement.columnOrigin(column);
        definition.isKey = !definition.origin.isEmpty() && definition.origin.compare(keyColumn, Qt::CaseInsensitive) == 0
            && store->keyIndex < 0;
        if (definition.isKey)
            store->keyIndex = column;
        store->fields.push_back(definition);
    }
    while (statement.step()) {
        std::vector<QVariant> row(static_cast<size_t>(columns));
        for (int column = 0; column < columns; ++column) {
            auto& definition = store->fields[size_t(column)];
            QVariant value = statement.value(column);
            if (definition.type == FieldType::Unknown && !value.isNull())
                definition.type = typeOfValue(value);
            row[size_t(column)] = normalised(definition.type, value);
        }
        store->order.push_back(store->add(std::move(row)));
    }

    m_store = std::move(store);
    createFields();
    m_viewVersion = 0;
    m_position = -1;
    setState(DataSetState::Browse);
    syncWithStore();
    m_position = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    if (m_events.afterOpen)
        m_events.afterOpen(*this);
    if (m_events.afterScroll)
        m_events.afterScroll(*this);
    notifyData();
}

void DataSet::createFields()
{
    qDeleteAll(m_fields);
    m_fields.clear();
    m_baseTable = m_store->baseTable;
    m_keyIndex = m_store->keyIndex;
    m_keyField = m_keyIndex >= 0 ? m_store->fields[size_t(m_keyIndex)].name : QString();
    for (size_t i = 0; i < m_store->fields.size(); ++i) {
        const auto& definition = m_store->fields[i];
        m_fields.append(new Field(this, int(i), definition.name, definition.type, !definition.origin.isEmpty(),
                                  definition.isKey));
    }
}

void DataSet::close()
{
    if (!isActive())
        return;
    if (m_events.beforeClose)
        m_events.beforeClose(*this);
    m_buffer.clear();
    m_modified = false;
    m_store.reset();
    m_view.clear();
    m_position = -1;
    m_bof = m_eof = true;
    setState(DataSetState::Inactive);
    if (m_events.afterClose)
        m_events.afterClose(*this);
    notifyData();
}

void DataSet::requireActive() const
{
    if (!isActive())
        throw Exception(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(name()));
}

void DataSet::setState(DataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (!controlsDisabled())
        emit stateChanged();
}

void DataSet::syncWithStore() const
{
    if (m_store && m_viewVersion != m_store->version)
        rebuildView(currentRow());
}

qint64 DataSet::currentRow() const
{
    return m_position >= 0 && m_position < int(m_view.size()) ? m_view[size_t(m_position)] : -1;
}

bool DataSet::matchesFilter(qint64 row) const
{
    if (!m_filtered || !m_filter || m_filter->isEmpty())
        return true;
    const auto& values = m_store->rows[size_t(row)];
    return m_filter->matches([&](const QString& fieldName, bool* found) {
        for (size_t i = 0; i < m_store->fields.size(); ++i) {
            if (m_store->fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0) {
                *found = true;
                return values[i];
            }
        }
        *found = false;
        return QVariant();
    });
}

void DataSet::rebuildView(qint64 keepRow) const
{
    m_view.clear();
    for (qint64 row : m_store->order)
        if (m_store->isLive(row) && matchesFilter(row))
            m_view.push_back(row);
    m_viewVersion = m_store->version;
    if (m_view.empty()) {
        m_position = -1;
        return;
    }
    const auto kept = std::find(m_view.begin(), m_view.end(), keepRow);
    if (kept != m_view.end())
        m_position = int(kept - m_view.begin());
    else
        m_position = std::clamp(m_position, 0, int(m_view.size()) - 1);
}

int DataSet::recordCount() const
{
    if (!isActive())
        return 0;
    syncWithStore();
    return int(m_view.size());
}

int DataSet::recNo() const
{
    if (!isActive())
        return 0;
    if (m_state == DataSetState::Insert)
        return m_insertPosition + 1;
    syncWithStore();
    return m_position + 1;
}

void DataSet::setRecNo(int recNo)
{
    requireActive();
    checkBrowseMode();
    syncWithStore();
    if (m_view.empty())
        return;
    moveTo(std::clamp(recNo, 1, int(m_view.size())) - 1);
    m_bof = m_eof = false;
}

void DataSet::moveTo(int position)
{
    if (m_events.beforeScroll)
        m_events.beforeScroll(*this);
    m_position = position;
    if (m_events.afterScroll)
        m_events.afterScroll(*this);
    notifyCurrent();
}

void DataSet::first()
{
    requireActive();
    checkBrowseMode();
    syncWithStore();
    moveTo(m_view.empty() ? -1 : 0);
    m_bof = true;
    m_eof = m_view.empty();
}

void DataSet::last()
{
    requireActive();
    checkBrowseMode();
    syncWithStore();
    moveTo(int(m_view.size()) - 1);
    m_bof = m_view.empty();
    m_eof = true;
}

void DataSet::next()
{
    requireActive();
    checkBrowseMode();
    syncWithStore();
    if (m_position + 1 < int(m_view.size())) {
        moveTo(m_position + 1);
        m_bof = m_eof = false;
    } else {
        m_eof = true;
    }
}

void DataSet::prior()
{
    requireActive();
    checkBrowseMode();
    syncWithStore();
    if (m_position > 0) {
        moveTo(m_position - 1);
        m_bof = m_eof = false;
    } else {
        m_bof = true;
    }
}

void DataSet::moveBy(int distance)
{
    for (; distance > 0 && !m_eof; --distance)
        next();
    for (; distance < 0 && !m_bof; ++distance)
        prior();
}

bool DataSet::locate(const QString& fieldNames, const QVariantList& values, int options)
{
    requireActive();
    checkBrowseMode();
    syncWithStore();
    QList<Field*> fields;
    for (const QString& fieldName : fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        fields.append(&fieldByName(fieldName.trimmed()));
    if (fields.size() != values.size())
        throw Exception(QStringLiteral("%1: locate needs one value per field").arg(name()));
    for (size_t position = 0; position < m_view.size(); ++position) {
        const auto& row = m_store->rows[size_t(m_view[position])];
        bool all = true;
        for (int i = 0; i < fields.size() && all; ++i)
            all = sameValue(fields[i]->type(), row[size_t(fields[i]->index())], values[i], options);
        if (all) {
            moveTo(int(position));
            m_bof = m_eof = false;
            return true;
        }
    }
    return false;
}

Field* DataSet::findField(const QString& fieldName) const
{
    for (Field* field : m_fields)
        if (field->name().compare(fieldName, Qt::CaseInsensitive) == 0)
            return field;
    return nullptr;
}

Field& DataSet::fieldByName(const QString& fieldName) const
{
    if (Field* field = findField(fieldName))
        return *field;
    throw Exception(QStringLiteral("%1: Field '%2' not found").arg(name(), fieldName));
}

QVariant DataSet::currentValue(int index) const
{
    if (isEditing())
        return m_buffer[size_t(index)];
    if (!isActive())
        return {};
    syncWithStore();
    const qint64 row = currentRow();
    return row >= 0 ? m_store->rows[size_t(row)][size_t(index)] : QVariant();
}

void DataSet::setBufferValue(int index, const QVariant& value)
{
    if (!isEditing())
        throw Exception(QStringLiteral("%1: Dataset not in edit or insert mode").arg(name()));
    m_buffer[size_t(index)] = value;
    m_modified = true;
    notifyCurrent();
}

void DataSet::startNewRecord(bool atEnd)
{
    requireActive();
    checkBrowseMode();
    if (m_events.beforeInsert)
        m_events.beforeInsert(*this);
    syncWithStore();
    m_buffer.assign(m_fields.size(), QVariant());
    m_insertPosition = atEnd || m_position < 0 ? int(m_view.size()) : m_position;
    setState(DataSetState::Insert);
    try {
        if (m_events.onNewRecord)
            m_events.onNewRecord(*this);
    } catch (...) {
        m_buffer.clear();
        setState(DataSetState::Browse);
        throw;
    }
    m_modified = false;
    if (m_events.afterInsert)
        m_events.afterInsert(*this);
    notifyCurrent();
}

void DataSet::insert()
{
    startNewRecord(false);
}

void DataSet::append()
{
    startNewRecord(true);
}

void DataSet::edit()
{
    requireActive();
    if (isEditing())
        return;
    syncWithStore();
    if (m_view.empty()) {
        insert();
        return;
    }
    if (m_events.beforeEdit)
        m_events.beforeEdit(*this);
    m_buffer = m_store->rows[size_t(currentRow())];
    m_modified = false;
    setState(DataSetState::Edit);
    if (m_events.afterEdit)
        m_events.afterEdit(*this);
    notifyCurrent();
}

void DataSet::post()
{
    requireActive();
    if (!isEditing())
        return;
    if (m_events.beforePost)
        m_events.beforePost(*this);
    for (;;) {
        try {
            writeRecord();
            break;
        } catch (const AbortError&) {
            throw;
        } catch (const std::exception& error) {
            PostErrorAction action = PostErrorAction::Fail;
            if (m_events.onPostError)
                m_events.onPostError(*this, error, action);
            if (action == PostErrorAction::Retry && isEditing())
                continue;
            if (action == PostErrorAction::Abort)
                Abort();
            throw;
        }
    }
    m_buffer.clear();
    m_modified = false;
    setState(DataSetState::Browse);
    if (m_events.afterPost)
        m_events.afterPost(*this);
    notifyData();
}

void DataSet::writeRecord()
{
    if (m_baseTable.isEmpty())
        throw Exception(QStringLiteral("%1: the query reads no single table and cannot be changed").arg(name()));
    m_connection->beginTransaction();
    try {
        if (m_state == DataSetState::Insert)
            writeInsert();
        else
            writeUpdate();
        m_connection->commit();
    } catch (...) {
        m_connection->rollback();
        throw;
    }
}

void DataSet::writeInsert()
{
    QStringList columns;
    QVariantList values;
    for (size_t i = 0; i < m_store->fields.size(); ++i) {
        const auto& definition = m_store->fields[i];
        if (definition.origin.isEmpty() || m_buffer[i].isNull())
            continue;
        columns << quoted(definition.origin);
        values << m_buffer[i];
    }
    QString sql = QStringLiteral("INSERT INTO %1 ").arg(quoted(m_baseTable));
    if (columns.isEmpty()) {
        sql += QStringLiteral("DEFAULT VALUES");
    } else {
        QStringList marks;
        for (int i = 1; i <= columns.size(); ++i)
            marks << QStringLiteral("?%1").arg(i);
        sql += QStringLiteral("(%1) VALUES (%2)").arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    }
    SqliteStatement statement(m_connection->handle(), sql.toUtf8().constData());
    for (int i = 0; i < values.size(); ++i)
        statement.bindValue(i + 1, values[i]);
    statement.exec();

    std::vector<QVariant> row = m_buffer;
    if (m_keyIndex >= 0) {
        const qint64 key = m_buffer[size_t(m_keyIndex)].isNull() ? m_connection->lastInsertRowId()
                                                                 : m_buffer[size_t(m_keyIndex)].toLongLong();
        readBack(key, row);
    }
    const qint64 id = m_store->add(std::move(row));
    // The new record stands where it was inserted, for every cursor on the store.
    auto place = m_store->order.end();
    if (m_insertPosition >= 0 && m_insertPosition < int(m_view.size()))
        place = std::find(m_store->order.begin(), m_store->order.end(), m_view[size_t(m_insertPosition)]);
    m_store->order.insert(place, id);
    ++m_store->version;
    rebuildView(id);
    if (currentRow() != id) // filtered out: stay near where it was inserted
        m_position = std::clamp(m_insertPosition, 0, int(m_view.size()) - 1);
}

void DataSet::writeUpdate()
{
    if (m_keyIndex < 0)
        throw Exception(QStringLiteral("%1: the query has no key field to update by").arg(name()));
    const qint64 row = currentRow();
    auto& stored = m_store->rows[size_t(row)];
    QStringList assignments;
    QVariantList values;
    for (size_t i = 0; i < m_store->fields.size(); ++i) {
        const auto& definition = m_store->fields[i];
        if (definition.origin.isEmpty() || m_buffer[i] == stored[i])
            continue;
        if (m_buffer[i].isNull() != stored[i].isNull() || m_buffer[i] != stored[i]) {
            values << m_buffer[i];
            assignments << QStringLiteral("%1 = ?%2").arg(quoted(definition.origin)).arg(values.size());
        }
    }
    const QVariant key = stored[size_t(m_keyIndex)];
    if (!assignments.isEmpty()) {
        values << key;
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?%4")
                                .arg(quoted(m_baseTable), assignments.join(QStringLiteral(", ")),
                                     quoted(m_store->fields[size_t(m_keyIndex)].origin))
                                .arg(values.size());
        SqliteStatement statement(m_connection->handle(), sql.toUtf8().constData());
        for (int i = 0; i < values.size(); ++i)
            statement.bindValue(i + 1, values[i]);
        statement.exec();
        if (m_connection->scalar(QStringLiteral("SELECT changes()")).toLongLong() == 0)
            throw Exception(QStringLiteral(
                "Row cannot be located for updating. Some values may have been changed since it was last read."));
    }
    std::vector<QVariant> updated = m_buffer;
    readBack(key.toLongLong(), updated);
    stored = std::move(updated);
    ++m_store->version;
    m_viewVersion = 0; // the filter may judge the changed record differently
    rebuildView(row);
}

void DataSet::readBack(qint64 key, std::vector<QVariant>& row)
{
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2 = ?1")
                            .arg(quoted(m_baseTable), quoted(m_store->fields[size_t(m_keyIndex)].origin));
    SqliteStatement statement(m_connection->handle(), sql.toUtf8().constData());
    statement.bind(1, std::int64_t(key));
    if (!statement.step())
        throw Exception(QStringLiteral(
            "Key value for this row was changed or deleted at the data store. The local row is now deleted."));
    for (int column = 0; column < statement.columnCount(); ++column) {
        const QString origin = statement.columnName(column);
        for (size_t i = 0; i < m_store->fields.size(); ++i)
            if (m_store->fields[i].origin.compare(origin, Qt::CaseInsensitive) == 0)
                row[i] = normalised(m_store->fields[i].type, statement.value(column));
    }
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    if (m_events.beforeCancel)
        m_events.beforeCancel(*this);
    m_buffer.clear();
    m_modified = false;
    setState(DataSetState::Browse);
    syncWithStore();
    if (m_events.afterCancel)
        m_events.afterCancel(*this);
    notifyCurrent();
}

void DataSet::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void DataSet::deleteRecord()
{
    requireActive();
    if (m_state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (m_state == DataSetState::Edit)
        cancel();
    syncWithStore();
    if (m_view.empty())
        throw Exception(QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(name()));
    if (m_events.beforeDelete)
        m_events.beforeDelete(*this);
    if (m_keyIndex < 0)
        throw Exception(QStringLiteral("%1: the query has no key field to delete by").arg(name()));
    const qint64 row = currentRow();
    for (;;) {
        try {
            m_connection->beginTransaction();
            try {
                m_connection->execute(QStringLiteral("DELETE FROM %1 WHERE %2 = ?1")
                                          .arg(quoted(m_baseTable), quoted(m_store->fields[size_t(m_keyIndex)].origin)),
                                      {m_store->rows[size_t(row)][size_t(m_keyIndex)]});
                m_connection->commit();
            } catch (...) {
                m_connection->rollback();
                throw;
            }
            break;
        } catch (const std::exception& error) {
            PostErrorAction action = PostErrorAction::Fail;
            if (m_events.onDeleteError)
                m_events.onDeleteError(*this, error, action);
            if (action == PostErrorAction::Retry)
                continue;
            if (action == PostErrorAction::Abort)
                Abort();
            throw;
        }
    }
    m_store->deleted[size_t(row)] = 1;
    ++m_store->version;
    const int position = m_position;
    rebuildView(-1);
    m_position = m_view.empty() ? -1 : std::min(position, int(m_view.size()) - 1);
    m_bof = m_position <= 0;
    m_eof = m_view.empty();
    if (m_events.afterDelete)
        m_events.afterDelete(*this);
    if (m_events.afterScroll)
        m_events.afterScroll(*this);
    notifyData();
}

Bookmark DataSet::bookmark() const
{
    if (!isActive())
        return {};
    syncWithStore();
    return Bookmark{currentRow()};
}

bool DataSet::bookmarkValid(const Bookmark& bookmark) const
{
    if (!isActive() || bookmark.isNull())
        return false;
    syncWithStore();
    return std::find(m_view.begin(), m_view.end(), bookmark.id) != m_view.end();
}

void DataSet::gotoBookmark(const Bookmark& bookmark)
{
    requireActive();
    checkBrowseMode();
    syncWithStore();
    const auto found = std::find(m_view.begin(), m_view.end(), bookmark.id);
    if (bookmark.isNull() || found == m_view.end())
        throw Exception(QStringLiteral("%1: Record not found").arg(name()));
    moveTo(int(found - m_view.begin()));
    m_bof = m_eof = false;
}

void DataSet::setFilter(const QString& filter)
{
    auto parsed = std::make_shared<FilterExpression>(FilterExpression::parse(filter));
    m_filterText = filter;
    m_filter = std::move(parsed);
    if (isActive() && m_filtered) {
        checkBrowseMode();
        m_viewVersion = 0;
        first();
        notifyData();
    }
}

void DataSet::setFiltered(bool filtered)
{
    if (m_filtered == filtered)
        return;
    m_filtered = filtered;
    if (isActive()) {
        checkBrowseMode();
        m_viewVersion = 0;
        first();
        notifyData();
    }
}

void DataSet::disableControls()
{
    ++m_disabled;
}

void DataSet::enableControls()
{
    if (m_disabled == 0 || --m_disabled > 0)
        return;
    if (m_pendingData) {
        m_pendingData = m_pendingCurrent = false;
        emit stateChanged();
        emit dataChanged();
        emit currentChanged();
    } else if (m_pendingCurrent) {
        m_pendingCurrent = false;
        emit currentChanged();
    }
}

void DataSet::notifyCurrent()
{
    if (controlsDisabled()) {
        m_pendingCurrent = true;
        return;
    }
    emit currentChanged();
}

void DataSet::notifyData()
{
    if (controlsDisabled()) {
        m_pendingData = true;
        return;
    }
    emit dataChanged();
    emit currentChanged();
}

std::unique_ptr<DataSet> DataSet::clone(QObject* parent) const
{
    requireActive();
    auto copy = std::make_unique<DataSet>(m_connection, parent);
    copy->setObjectName(objectName());
    copy->m_sql = m_sql;
    copy->m_parameters = m_parameters;
    copy->m_tag = m_tag;
    copy->m_clientSide = m_clientSide;
    copy->m_store = m_store;
    copy->createFields();
    copy->m_state = DataSetState::Browse;
    copy->syncWithStore();
    copy->m_position = copy->m_view.empty() ? -1 : 0;
    copy->m_bof = true;
    copy->m_eof = copy->m_view.empty();
    return copy;
}

void DataSet::resync()
{
    requireActive();
    syncWithStore();
    const qint64 row = currentRow();
    if (row < 0 || m_keyIndex < 0)
        return;
    std::vector<QVariant> values = m_store->rows[size_t(row)];
    readBack(m_store->rows[size_t(row)][size_t(m_keyIndex)].toLongLong(), values);
    m_store->rows[size_t(row)] = std::move(values);
    ++m_store->version;
    syncWithStore();
    notifyCurrent();
}

} // namespace velmora
