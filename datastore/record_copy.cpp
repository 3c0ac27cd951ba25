#include "datastore/record_copy.h"

#include "datastore/abort_error.h"
#include "datastore/data_channels.h"
#include "datastore/dataset.h"
#include "datastore/record_lookup.h"
#include "foundation/debug_agent.h"

#include <QRegularExpression>
#include <QSet>

namespace velmora {

bool CloneRecord(DataSet* ds, const QString& skipFields, const QString& prefixField)
{
    if (!HasRecords(ds))
        return false;
    StartTiming(QStringLiteral("CloneRecord: ") + ds->name());

    const QString prefixName = prefixField.trimmed().toUpper();
    QVariantList values;
    for (const Field* field : ds->fields()) {
        QVariant value = field->value();
        if (!prefixName.isEmpty() && field->name().toUpper() == prefixName)
            value = QStringLiteral("Copy Of ") + field->asString();
        values << value;
    }
    static const QRegularExpression separators(QStringLiteral("[ ,]+"));
    const QStringList skipList = skipFields.trimmed().toUpper().split(separators, Qt::SkipEmptyParts);
    const QSet<QString> skipped(skipList.begin(), skipList.end());

    try {
        ds->checkBrowseMode();
        StartTiming(QStringLiteral("CloneRecord: Insert"));
        ds->append();
        LogElapsed(QStringLiteral("CloneRecord: Insert"));
        for (int i = 0; i < ds->fieldCount(); ++i) {
            Field* field = ds->fields().at(i);
            // A copied key would collide with the source's; the new row gets its own.
            if (field->isKey() || skipped.contains(field->name().toUpper()) || values.at(i).isNull())
                continue;
            field->setValue(values.at(i));
        }
        StartTiming(QStringLiteral("CloneRecord: Post"));
        ds->post();
        LogElapsed(QStringLiteral("CloneRecord: Post"));
        return true;
    } catch (const std::exception& error) {
        if (!dynamic_cast<const AbortError*>(&error))
            LogException(QString::fromLatin1(kChannelAccessUnit), QStringLiteral("CloneRecord"), error);
        try {
            if (ds->isEditing())
                ds->cancel();
        } catch (const std::exception&) {
            // Nothing more to undo: the copy was never stored.
        }
        return false;
    }
}

} // namespace velmora
