#include "datastore/connection_string.h"

#include "foundation/cipher.h"
#include "foundation/registry_key.h"
#include "foundation/settings_batch.h"
#include "foundation/settings_keys.h"
#include "foundation/text_to_value.h"
#include "platform/locations.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <exception>

namespace velmora {

namespace {

const QString kDatabaseUsedSuffix = QStringLiteral(" DatabaseUsed");

std::atomic<int> g_databaseUsed{0};

QMutex g_publishedNameMutex;
QString& publishedNameStorage()
{
    static QString name = QString::fromLatin1(kCenterPublishedName);
    return name;
}

QString connectionStringKeyPath()
{
    return QLatin1String(kProductRootKey) + QLatin1Char('\\') + QLatin1String(kConnectionStringKey);
}

} // namespace

QString GetDefaultDatabasePath(const QString& fileName)
{
    return platform::installRoot() + QStringLiteral("Data/") + fileName;
}

QString BuildConnectionString(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=") + path + QStringLiteral(";")
        + QStringLiteral("Mode=Share Deny None;");
}

QString DataSourceOf(const QString& connectionString)
{
    static const QString marker = QStringLiteral("Data Source=");
    const qsizetype start = connectionString.indexOf(marker, 0, Qt::CaseInsensitive);
    if (start < 0)
        return {};
    const qsizetype from = start + marker.size();
    const qsizetype end = connectionString.indexOf(QLatin1Char(';'), from);
    return connectionString.mid(from, end < 0 ? -1 : end - from).trimmed();
}

int DatabaseUsed()
{
    return g_databaseUsed.load();
}

void SetDatabaseUsed(int value)
{
    g_databaseUsed.store(value);
}

QString PublishedName()
{
    QMutexLocker lock(&g_publishedNameMutex);
    return publishedNameStorage();
}

void SetPublishedName(const QString& name)
{
    QMutexLocker lock(&g_publishedNameMutex);
    publishedNameStorage() = name;
}

void WriteConnectionString(const QString& connectionString)
{
    const QString name = PublishedName();
    writeSettingsBatch(QStringLiteral("CommUnit"), connectionStringKeyPath(),
                       QStringLiteral("Failed to write registry about ConnectionString."), [&](RegistryKey& key) {
                           key.writeString(name,
                                           EncodeText(connectionString, QString::fromLatin1(kConnectionKey)));
                           key.writeString(name + kDatabaseUsedSuffix, QString::number(DatabaseUsed()));
                       });
}

QString ReadConnectionString(const QString& name)
{
    QString connectionString;
    try {
        RegistryKey key;
        if (!key.openKeyReadOnly(connectionStringKeyPath()))
            return {};
        connectionString = DecodeText(key.readString(name), QString::fromLatin1(kConnectionKey));
        SetDatabaseUsed(textToInteger(key.readString(name + kDatabaseUsedSuffix)));
    } catch (const std::exception&) {
        // Readers fall back to their own defaults; nothing is reported.
    }
    return connectionString;
}

} // namespace velmora
