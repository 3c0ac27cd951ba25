#pragma once
// A query's records with a cursor over them, the way every window and data
// module of the suite works: open, move, locate, filter, bookmark, insert,
// edit, post, cancel, delete, each with its events. Records are read when
// the dataset opens (a client-side cursor); a post or delete writes through
// to the query's base table at once, inside a transaction.

#include "datastore/field.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace velmora {

class DbConnection;
class DataSet;
struct RecordStore;

enum class DataSetState { Inactive, Browse, Edit, Insert };
enum class PostErrorAction { Fail, Abort, Retry };
enum class UpdateStatus { Unmodified, Modified, Inserted, Deleted };

enum LocateOption { LocateCaseInsensitive = 1, LocatePartialKey = 2 };

// Any handler may raise AbortError (Abort()) to stop the operation silently.
struct DataSetEvents {
    using Handler = std::function<void(DataSet&)>;
    using ErrorHandler = std::function<void(DataSet&, const std::exception&, PostErrorAction&)>;
    Handler beforeOpen, afterOpen, beforeClose, afterClose;
    Handler beforeInsert, onNewRecord, afterInsert;
    Handler beforeEdit, afterEdit;
    Handler beforePost, afterPost;
    ErrorHandler onPostError; // the action starts as Fail: the error reaches the caller
    Handler beforeCancel, afterCancel;
    Handler beforeDelete, afterDelete;
    ErrorHandler onDeleteError;
    Handler beforeScroll, afterScroll;
};

// A record's place that survives moves, filters and other records' changes.
struct Bookmark {
    qint64 id = -1;
    bool isNull() const { return id < 0; }
    bool operator==(const Bookmark&) const = default;
};

class DataSet : public QObject {
    Q_OBJECT
public:
    explicit DataSet(DbConnection* connection = nullptr, QObject* parent = nullptr);
    ~DataSet() override;

    DbConnection* connection() const { return m_connection; }
    void setConnection(DbConnection* connection);

    // The query in the suite's dialect (SqlDialect); parameters as ":Name".
    // Changing it closes the dataset.
    void setSql(const QString& sql);
    QString sql() const { return m_sql; }
    void setParameter(const QString& name, const QVariant& value);
    QVariant parameter(const QString& name) const;
    // Makes this a detail of master: each parameter takes the master's
    // field of the same name before every open, and the detail reopens when
    // the master moves to another record, posts, or opens.
    void setMasterSource(DataSet* master);
    DataSet* masterSource() const { return m_master; }

    // The run-time tag by which the record rules tell the tables apart.
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    QString name() const { return objectName(); }

    DataSetEvents& events() { return m_events; }

    // Server-side datasets behave the same here; the flag is kept for the
    // callers that ask (row updates are only sent for client-side ones).
    bool isClientSide() const { return m_clientSide; }
    void setClientSide(bool clientSide) { m_clientSide = clientSide; }

    void open();
    void close();
    bool isActive() const { return m_state != DataSetState::Inactive; }
    DataSetState state() const { return m_state; }
    bool isEditing() const { return m_state == DataSetState::Edit || m_state == DataSetState::Insert; }
    bool isModified() const { return m_modified; }

    // Over the visible records (those the filter lets through).
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    int recNo() const; // 1-based; 0 with no current record
    void setRecNo(int recNo);
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    void moveBy(int distance);
    // Fields separated by ';'; the values in the same order. Moves to the
    // first visible record that matches and returns true, else stays.
    bool locate(const QString& fieldNames, const QVariantList& values, int options = 0);
    bool locate(const QString& fieldName, const QVariant& value, int options = 0)
    {
        return locate(fieldName, QVariantList{value}, options);
    }

    const QList<Field*>& fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    Field* findField(const QString& name) const; // without case; nullptr when missing
    Field& fieldByName(const QString& name) const; // raises "Field 'X' not found"
    QString baseTable() const { return m_baseTable; }
    QString keyFieldName() const { return m_keyField; }

    void insert();
    void append();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Posts a pending edit or insert; nothing when browsing.
    void checkBrowseMode();

    Bookmark bookmark() const;
    bool bookmarkValid(const Bookmark& bookmark) const;
    void gotoBookmark(const Bookmark& bookmark); // raises when the record is gone

    // A client-side filter such as "ParentID = 5" (FilterExpression).
    void setFilter(const QString& filter);
    QString filter() const { return m_filterText; }
    void setFiltered(bool filtered);
    bool filtered() const { return m_filtered; }

    // While disabled (counted), observers are not told of moves and changes;
    // enabling the last time tells them once.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // A second cursor over the same records: changes made through either are
    // seen by both; bookmarks are interchangeable.
    std::unique_ptr<DataSet> clone(QObject* parent = nullptr) const;
    // Reads the current record again from the file.
    void resync();
    // Posts write through at once, so a record is never left with changes to send.
    UpdateStatus updateStatus() const { return UpdateStatus::Unmodified; }

signals:
    void stateChanged();
    void currentChanged(); // moved to another record, or the record changed
    void dataChanged();    // records were added, removed or reloaded

private:
    friend class Field;
    QVariant currentValue(int index) const;
    void setBufferValue(int index, const QVariant& value);

    void requireActive() const;
    void setState(DataSetState state);
    void createFields();
    void syncWithStore() const;
    void rebuildView(qint64 keepRow) const;
    qint64 currentRow() const;
    void moveTo(int position);
    void notifyCurrent();
    void notifyData();
    void startNewRecord(bool atEnd);
    void writeRecord();
    void writeInsert();
    void writeUpdate();
    void readBack(qint64 key, std::vector<QVariant>& row);
    bool matchesFilter(qint64 row) const;
    QVariantMap currentParameters() const;
    void masterChanged();

    DbConnection* m_connection = nullptr;
    QString m_sql;
    QVariantMap m_parameters;
    DataSet* m_master = nullptr;
    int m_tag = 0;
    bool m_clientSide = true;
    DataSetEvents m_events;

    DataSetState m_state = DataSetState::Inactive;
    bool m_modified = false;
    QList<Field*> m_fields;
    QString m_baseTable;
    QString m_keyField;
    int m_keyIndex = -1;

    std::shared_ptr<RecordStore> m_store;
    mutable std::vector<qint64> m_view; // store rows visible through the filter, in order
    mutable quint64 m_viewVersion = 0;
    mutable int m_position = -1;        // index into m_view; -1 with no current record
    bool m_bof = true;
    bool m_eof = true;
    QVariantMap m_usedParameters;       // the values the last open bound

    std::vector<QVariant> m_buffer; // the record being edited or inserted
    int m_insertPosition = -1;       // where an inserted record stands in the view

    QString m_filterText;
    bool m_filtered = false;
    std::shared_ptr<const class FilterExpression> m_filter;

    int m_disabled = 0;
    bool m_pendingCurrent = false;
    bool m_pendingData = false;
};

} // namespace velmora
