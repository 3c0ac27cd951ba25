#pragma once
// The settings keys the programs share, relative to HKEY_CURRENT_USER.

namespace velmora {

inline constexpr char kProductRootKey[] = "Software\\Quorvane\\Velmora\\3.0";
inline constexpr char kAgentsInformationKey[] = "Software\\Quorvane\\Agents Information";
// The tips viewer's own key when it is started without one.
inline constexpr char kCommonTipsKey[] = "Software\\Quorvane\\Common Product\\3.0\\Common Product Show Tips\\Tips";

} // namespace velmora
