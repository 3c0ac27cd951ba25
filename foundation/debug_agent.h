#pragma once
// The debug log channel: trace lines sent as copy-data to a window captioned
// "Debug Server". With no viewer running a call costs one lookup and nothing
// else; there is no log file.

#include "foundation/date_time.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <exception>

namespace velmora {

inline constexpr int kTraceLevel = 0x40000;      // ordinary trace lines
inline constexpr int kDiagnosticLevel = 0x90000; // exception reports, diagnostics
inline constexpr int kDebugChannelLength = 18;
inline constexpr const char kDebugServerCaption[] = "Debug Server";

// One trace entry while it is being sent.
struct TRecDebugAgentMsg {
    QString channelName; // at most 18 characters
    DateTime timeStamp;
    std::int32_t level = 0;
    std::int32_t messageLength = 0;
    QString message;
};

// computer + " " + user + " " + channel (cut to 18) + " " + CR LF + TAB + message
QString DebugWireText(const QString& computerName, const QString& userName,
                      const QString& channelName, const QString& message);

// True when the text reached a "Debug Server" window, false when none exists.
bool SendDebugMessage(const QString& channelName, int level, const QString& message);
bool IsDebugServerPresent();

// One process-wide stopwatch; the last StartTiming wins.
void StartTiming(const QString& label);
// Sends label + " takes time: " + "h:n:s z" of the elapsed time + "ms." on "DebugAgent".
void LogElapsed(const QString& label);

// A caught error: routine + "(): ==== E X C E P T I O N====", the error text and
// its help-context number, on the given channel at the trace level.
void LogException(const QString& channelName, const QString& routine, const std::exception& error);

} // namespace velmora
