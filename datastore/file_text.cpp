#include "datastore/file_text.h"

#include <QFile>

namespace velmora {

QString LoadFileText(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace velmora
