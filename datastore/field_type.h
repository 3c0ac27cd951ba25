#pragma once
// The kinds of value a field holds, and how a column's declared type maps to one.

#include <QString>

namespace velmora {

enum class FieldType { Unknown, Integer, Float, Boolean, Text, Memo, DateTime, Blob };

// "INTEGER" Integer; "BOOLEAN", "BIT", "YESNO" Boolean; "DATETIME", "DATE",
// "TIME" DateTime; "LONGTEXT", "MEMO" Memo; "TEXT", "CHAR(n)", "VARCHAR"
// Text; "DOUBLE", "REAL", "FLOAT", "CURRENCY", "NUMERIC" Float; "BLOB",
// "LONGBINARY", "IMAGE" Blob; anything else Unknown.
FieldType fieldTypeFromDeclared(const QString& declaredType);

bool isTextType(FieldType type); // Text or Memo

} // namespace velmora
