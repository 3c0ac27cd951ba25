#include "foundation/comm_settings.h"

#include "foundation/debug_agent.h"
#include "foundation/settings_batch.h"
#include "foundation/settings_keys.h"
#include "foundation/text_to_value.h"

#include <QComboBox>

namespace velmora {

namespace {

const QString kChannel = QStringLiteral("CommUnit");
const QString kGeneralReadFailure = QStringLiteral("Failed to get information from Registry.");

QString productKey(const QString& relative)
{
    return QLatin1String(kProductRootKey) + QLatin1Char('\\') + relative;
}

QString windowKeyPath(const QString& windowKey)
{
    return productKey(QStringLiteral("Velmora Center\\") + windowKey);
}

const QString kOptionsKey = QStringLiteral("Velmora Center\\Options");
const QString kReminderInformationKey = QStringLiteral("Reminder Information");
const QString kProductInformationKey = QStringLiteral("Product Information");
const QString kDisplayKey = QStringLiteral("Display");
const QString kTipsKey = QStringLiteral("Velmora Center\\Tips");

} // namespace

void WriteWorkWeekSettings(int weekdayMask, const QString& firstDayOfWeek, const QString& firstWeekOfYear,
                           const QString& startTime, const QString& endTime)
{
    writeSettingsBatch(kChannel, productKey(kOptionsKey),
                       QStringLiteral("Failed to write registry about WorkWeekSettings."), [&](RegistryKey& key) {
                           key.writeString(QStringLiteral("FirstDayOfWeek"), firstDayOfWeek);
                           key.writeInteger(QStringLiteral("Weekday"), weekdayMask);
                           key.writeString(QStringLiteral("FirstWeekOfYear"), firstWeekOfYear);
                           key.writeString(QStringLiteral("StartTime"), startTime);
                           key.writeString(QStringLiteral("EndTime"), endTime);
                       });
}

QString ReadOptionText(const QString& valueName)
{
    QString text;
    readSettingsBatch(kChannel, productKey(kOptionsKey),
                      QStringLiteral("Failed to get information about GridBackground from Registry."),
                      [&](RegistryKey& key) { text = key.readString(valueName); });
    return text;
}

void WriteFindItems(const QString& windowKey, const QString& text)
{
    writeSettingsBatch(kChannel, windowKeyPath(windowKey), QStringLiteral("Failed to write registry about FindItem."),
                       [&](RegistryKey& key) { key.writeString(QStringLiteral("FindItems"), text); });
}

QString ReadFindItems(const QString& windowKey)
{
    QString text;
    readSettingsBatch(kChannel, windowKeyPath(windowKey),
                      QStringLiteral("Failed to get FindItems information from Registry."),
                      [&](RegistryKey& key) { text = key.readString(QStringLiteral("FindItems")); });
    return text;
}

void FillFindItems(const QString& windowKey, QComboBox* comboBox)
{
    if (!comboBox)
        return;
    const QStringList pieces = ReadFindItems(windowKey).split(QLatin1Char(' '));
    for (const QString& piece : pieces) {
        const QString item = piece.trimmed();
        if (!item.isEmpty())
            comboBox->addItem(item);
    }
}

void WriteFormCurrentView(const QString& windowKey, int index)
{
    writeSettingsBatch(kChannel, windowKeyPath(windowKey),
                       QStringLiteral("Failed to write registry about FormCurrentView."),
                       [&](RegistryKey& key) { key.writeInteger(QStringLiteral("FormCurrentView"), index); });
}

int ReadFormCurrentView(const QString& windowKey)
{
    int view = kDefaultFormCurrentView;
    readSettingsBatch(kChannel, windowKeyPath(windowKey),
                      QStringLiteral("Failed to get FormCurrentView information from Registry."),
                      [&](RegistryKey& key) { view = key.readInteger(QStringLiteral("FormCurrentView")); });
    return view;
}

void WriteCurrentActiveForm(const QString& windowKey, const QString& formName)
{
    writeSettingsBatch(kChannel, windowKeyPath(windowKey),
                       QStringLiteral("Failed to write registry about CurrentActiveForm."),
                       [&](RegistryKey& key) { key.writeString(QStringLiteral("CurrentActiveForm"), formName); });
}

void WriteFormPlacement(const QString& windowState, const QString& windowKey, int height, int width, int top,
                        int left)
{
    writeSettingsBatch(kChannel, windowKeyPath(windowKey), QStringLiteral("Failed to write Registry about FormSize."),
                       [&](RegistryKey& key) {
                           key.writeString(QStringLiteral("WindowState"), windowState);
                           if (windowState != QLatin1String("wsNormal"))
                               return;
                           key.writeInteger(QStringLiteral("Height"), height);
                           key.writeInteger(QStringLiteral("Left"), left);
                           key.writeInteger(QStringLiteral("Top"), top);
                           key.writeInteger(QStringLiteral("Width"), width);
                       });
}

void WriteEMailList(const QString& text)
{
    if (text.trimmed().isEmpty())
        return;
    writeSettingsBatch(kChannel, productKey(kReminderInformationKey),
                       QStringLiteral("Failed to write registry about mail list."),
                       [&](RegistryKey& key) { key.writeString(QStringLiteral("EMail List"), text); });
}

QString ReadEMailList()
{
    QString text;
    readSettingsBatch(kChannel, productKey(kReminderInformationKey),
                      QStringLiteral("Failed to get mail list information from Registry."),
                      [&](RegistryKey& key) { text = key.readString(QStringLiteral("EMail List")); });
    return text;
}

EngineSwitches GetSystemSetting()
{
    EngineSwitches switches;
    readSettingsBatch(kChannel, productKey(kProductInformationKey), kGeneralReadFailure, [&](RegistryKey& key) {
        // Each switch stands alone: one that cannot be converted stays off
        // without turning the others off.
        auto switchOf = [&](const char* name) {
            try {
                return textToBool(key.readString(QLatin1String(name)));
            } catch (const std::exception&) {
                SendDebugMessage(kChannel, kTraceLevel, kGeneralReadFailure);
                return false;
            }
        };
        switches.runMediaPlayerEngine = switchOf("Run Media Player Engine");
        switches.runSpeechEngine = switchOf("Run Speech Engine");
        switches.runAgentEngine = switchOf("Run Microsoft Agent Engine");
    });
    return switches;
}

TipsSettings ReadTipsSettings(const QString& key)
{
    TipsSettings tips;
    const QString path = key.isEmpty() ? productKey(kTipsKey) : key;
    readSettingsBatch(kChannel, path, kGeneralReadFailure, [&](RegistryKey& registry) {
        tips.showTips = textToBool(registry.readString(QStringLiteral("Show Tips")));
        tips.progress = textToInteger(registry.readString(QStringLiteral("Tips Showing Progress")));
    });
    return tips;
}

QString ReadAgentCharacter(int slot)
{
    QString file;
    readSettingsBatch(kChannel, QLatin1String(kAgentsInformationKey), kGeneralReadFailure, [&](RegistryKey& key) {
        file = key.readString(QStringLiteral("Character") + QString::number(slot + 1));
    });
    return file == QLatin1String("NULL") ? QString() : file;
}

void WriteDisplayStyle(int style)
{
    writeSettingsBatch(kChannel, productKey(kDisplayKey), QStringLiteral("Failed to write registry about Style."),
                       [&](RegistryKey& key) { key.writeInteger(QStringLiteral("Style"), style); });
}

int ReadDisplayStyle()
{
    int style = kDefaultDisplayStyle;
    readSettingsBatch(kChannel, productKey(kDisplayKey), QStringLiteral("Failed to get Style information from Registry."),
                      [&](RegistryKey& key) { style = key.readInteger(QStringLiteral("Style")); });
    // The style indexes a fixed list of looks; a value beyond it must not
    // reach the window that picks the look.
    return style >= 0 && style <= kLastDisplayStyle ? style : kDefaultDisplayStyle;
}

} // namespace velmora
