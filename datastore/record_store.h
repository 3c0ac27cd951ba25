#pragma once
// The records a dataset read, shared by the dataset and its clones: every
// record ever read or inserted keeps its index (a deleted one is only
// marked), so bookmarks stay valid; the order lists them as shown.

#include "datastore/field_type.h"

#include <QString>
#include <QVariant>

#include <vector>

namespace velmora {

struct FieldDefinition {
    QString name;   // as the dataset shows it (a repeated name gets "_1", "_2")
    QString origin; // the base table's column it is written to; empty when none
    FieldType type = FieldType::Unknown;
    bool isKey = false;
};

struct RecordStore {
    std::vector<FieldDefinition> fields;
    QString baseTable;
    int keyIndex = -1;
    std::vector<std::vector<QVariant>> rows;
    std::vector<char> deleted;
    std::vector<qint64> order;
    quint64 version = 1;

    qint64 add(std::vector<QVariant> row)
    {
        rows.push_back(std::move(row));
        deleted.push_back(0);
        return qint64(rows.size()) - 1;
    }
    bool isLive(qint64 id) const { return id >= 0 && id < qint64(rows.size()) && !deleted[size_t(id)]; }
};

} // namespace velmora
