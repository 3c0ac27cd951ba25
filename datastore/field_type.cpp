#include "datastore/field_type.h"

namespace velmora {

FieldType fieldTypeFromDeclared(const QString& declaredType)
{
    const QString type = declaredType.trimmed().toUpper();
    if (type.isEmpty())
        return FieldType::Unknown;
    auto has = [&type](const char* word) { return type.contains(QLatin1String(word)); };
    if (has("BOOL") || type == QLatin1String("BIT") || has("YESNO") || has("LOGICAL"))
        return FieldType::Boolean;
    if (has("INT") || type == QLatin1String("COUNTER") || type == QLatin1String("LONG"))
        return FieldType::Integer;
    if (has("DATE") || has("TIME"))
        return FieldType::DateTime;
    if (has("LONGTEXT") || has("MEMO"))
        return FieldType::Memo;
    if (has("CHAR") || has("TEXT") || has("CLOB"))
        return FieldType::Text;
    if (has("REAL") || has("FLOA") || has("DOUB") || has("CURRENCY") || has("NUMERIC") || has("DECIMAL")
        || has("SINGLE"))
        return FieldType::Float;
    if (has("BLOB") || has("BINARY") || has("IMAGE") || has("OLEOBJECT"))
        return FieldType::Blob;
    return FieldType::Unknown;
}

bool isTextType(FieldType type)
{
    return type == FieldType::Text || type == FieldType::Memo;
}

} // namespace velmora
