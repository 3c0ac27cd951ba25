#pragma once
// Window messages between the suite's programs, addressed by caption.

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

// Message numbers shared by all programs.
inline constexpr int WM_COPYDATA = 74;
inline constexpr int WM_CloseFormSilently = 2139;
inline constexpr int WM_ShowFormSilently = 2140;
inline constexpr int WM_ShowNextReminder = 2147;
inline constexpr int WM_ReminderChanged = 2149;
inline constexpr int WM_PopupReminderMenu = 2154;

// A found window, identified by its caption.
struct WindowHandle {
    QString caption;
};

std::optional<WindowHandle> FindTopWindow(const QString& className, const QString& caption);
bool WindowExists(const QString& caption);
// Posts without waiting; true when a target was found. Logged either way.
bool SendMessageToWindow(const QString& caption, int message, qint64 wParam, qint64 lParam);
// Sends text + NUL as copy-data and waits until it was handled.
bool SendStringMessageToWindow(const QString& caption, const QString& text, qint64 number);
// A receiver's reading of copy-data: the text up to the terminating zero.
QString CopyDataText(const QByteArray& data);

} // namespace velmora
