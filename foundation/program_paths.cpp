#include "foundation/program_paths.h"

#include "platform/locations.h"

namespace velmora {

QString ProgramFolder() { return platform::programFolder(); }
QString InstallRoot() { return platform::installRoot(); }

QString MainProgramPath() { return ProgramFolder() + QStringLiteral("Velmora"); }
QString TopBarPath() { return ProgramFolder() + QStringLiteral("velmora_bar"); }
QString AlertProgramPath() { return ProgramFolder() + QStringLiteral("velmora_alert"); }
QString DatabaseManagerPath() { return ProgramFolder() + QStringLiteral("velmora_dbtool"); }
QString ConfigurePath() { return ProgramFolder() + QStringLiteral("velmora_setup"); }
QString OutlookIntegrationPath() { return ProgramFolder() + QStringLiteral("velmora_outlook"); }
QString TipsViewerPath() { return ProgramFolder() + QStringLiteral("velmora_tips"); }

} // namespace velmora
