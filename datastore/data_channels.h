#pragma once
// The debug-channel names the data-access operations and record rules trace on.

namespace velmora {

inline constexpr char kChannelDBComm[] = "DBComm";
inline constexpr char kChannelAccessUnit[] = "DBCommAccessUnit";
// The record printer has always traced under this spelling; viewers filter on it.
inline constexpr char kChannelAccessUnitPrint[] = "DBCommAceessUnit";
inline constexpr char kChannelForeignKeys[] = "FKUnit";
inline constexpr char kChannelGeneralHandlers[] = "VelmoraDMGeneralUnit";
// Occurrence rows and record copies; series completion and moves.
inline constexpr char kChannelCloneUnit[] = "DBCloneUnit";
inline constexpr char kChannelScheduleEvents[] = "ScheduleEventUnit";

} // namespace velmora
