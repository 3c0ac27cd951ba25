#pragma once
// A whole text file read into one text.

#include <QString>

namespace velmora {

// UTF-8; empty when the file can not be read.
QString LoadFileText(const QString& fileName);

} // namespace velmora
