#pragma once
// The settings operations every program shares: list-window state, window
// placement, the mail list, options, engine switches, tips, agents, style.
// None raises: failures are logged on the "CommUnit" channel and the
// defaults stay in force.

#include <QString>

class QComboBox;

namespace velmora {

inline constexpr int kDefaultFormCurrentView = 12;
inline constexpr int kDefaultDisplayStyle = 4;
inline constexpr int kLastDisplayStyle = 4;

// Under "Velmora Center\Options".
void WriteWorkWeekSettings(int weekdayMask, const QString& firstDayOfWeek, const QString& firstWeekOfYear,
                           const QString& startTime, const QString& endTime);
QString ReadOptionText(const QString& valueName);

// Under "Velmora Center\" + the list window's key.
void WriteFindItems(const QString& windowKey, const QString& text);
QString ReadFindItems(const QString& windowKey);
// Adds the stored search texts, split at every blank, to the combo box.
void FillFindItems(const QString& windowKey, QComboBox* comboBox);
void WriteFormCurrentView(const QString& windowKey, int index);
int ReadFormCurrentView(const QString& windowKey);
void WriteCurrentActiveForm(const QString& windowKey, const QString& formName);
// The size and position are written only with "wsNormal", so a maximised
// window keeps the normal size it had before.
void WriteFormPlacement(const QString& windowState, const QString& windowKey, int height, int width, int top,
                        int left);

// Under "Reminder Information"; a blank list is never written.
void WriteEMailList(const QString& text);
QString ReadEMailList();

// The reminder channels enabled under "Product Information".
struct EngineSwitches {
    bool runMediaPlayerEngine = false;
    bool runSpeechEngine = false;
    bool runAgentEngine = false;
};
EngineSwitches GetSystemSetting();

struct TipsSettings {
    bool showTips = true;
    int progress = 1;
};
// From "Velmora Center\Tips", or from the given key (relative to
// HKEY_CURRENT_USER) when one is given.
TipsSettings ReadTipsSettings(const QString& key = QString());

// The character file of an agent slot counted from 0; empty for none.
QString ReadAgentCharacter(int slot);

// The look of the main window's controls, 0..4, under "Display".
void WriteDisplayStyle(int style);
int ReadDisplayStyle();

} // namespace velmora
