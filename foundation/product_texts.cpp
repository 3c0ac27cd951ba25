#include "foundation/product_texts.h"

#include "foundation/settings_batch.h"
#include "foundation/settings_keys.h"

namespace velmora {

QString ReadProductName()
{
    QString name;
    readSettingsBatch(QStringLiteral("CommUnit"), QLatin1String(kProductRootKey) + QStringLiteral("\\Product Information"),
                      QStringLiteral("Failed to get information from Registry."),
                      [&](RegistryKey& key) { name = key.readString(QStringLiteral("PRODUCT_NAME")); });
    return name.trimmed().isEmpty() ? QString::fromLatin1(kFallbackProductName) : name;
}

QString CenterTitle()
{
    return ReadProductName() + QStringLiteral(" Center");
}

QString TopBarTitle()
{
    return ReadProductName() + QStringLiteral(" TopBar");
}

} // namespace velmora
