#include "datastore/field_type.h"

#include <QStringList>

namespace velmora {

namespace {

// "CHAR(255)" and "NUMERIC(10, 2)" name the same kind of value as "CHAR" and
// "NUMERIC"; "INTEGER PRIMARY KEY" is an integer.
QString baseTypeName(const QString& declaredType)
{
    QString name = declaredType.trimmed().toUpper();
    const qsizetype parenthesis = name.indexOf(QLatin1Char('('));
    if (parenthesis >= 0)
        name.truncate(parenthesis);
    const qsizetype blank = name.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        name.truncate(blank);
    return name.trimmed();
}

} // namespace

FieldType fieldTypeFromDeclared(const QString& declaredType)
{
    static const QStringList integers{"INTEGER", "INT", "SMALLINT", "BIGINT", "LONG", "COUNTER", "AUTOINCREMENT"};
    static const QStringList booleans{"BOOLEAN", "BIT", "YESNO", "LOGICAL"};
    static const QStringList dateTimes{"DATETIME", "DATE", "TIME", "TIMESTAMP"};
    static const QStringList memos{"LONGTEXT", "MEMO", "NTEXT", "LONGCHAR"};
    static const QStringList texts{"TEXT", "CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "STRING"};
    static const QStringList floats{"DOUBLE", "REAL", "FLOAT", "CURRENCY", "NUMERIC", "DECIMAL", "MONEY", "SINGLE"};
    static const QStringList blobs{"BLOB", "LONGBINARY", "IMAGE", "BINARY", "VARBINARY", "OLEOBJECT"};

    const QString name = baseTypeName(declaredType);
    if (name.isEmpty())
        return FieldType::Unknown;
    if (integers.contains(name))
        return FieldType::Integer;
    if (booleans.contains(name))
        return FieldType::Boolean;
    if (dateTimes.contains(name))
        return FieldType::DateTime;
    if (memos.contains(name))
        return FieldType::Memo;
    if (texts.contains(name))
        return FieldType::Text;
    if (floats.contains(name))
        return FieldType::Float;
    if (blobs.contains(name))
        return FieldType::Blob;
    return FieldType::Unknown;
}

bool isTextType(FieldType type)
{
    return type == FieldType::Text || type == FieldType::Memo;
}

} // namespace velmora
