#pragma once
// Where the suite's programs are: side by side in the running program's folder.

#include <QString>

namespace velmora {

QString ProgramFolder(); // with a trailing '/'
QString InstallRoot();   // the program folder's parent (or VELMORA_INSTALL_ROOT), trailing '/'

QString MainProgramPath();        // "Velmora"
QString TopBarPath();             // "velmora_bar"
QString AlertProgramPath();       // "velmora_alert"
QString DatabaseManagerPath();    // "velmora_dbtool"
QString ConfigurePath();          // "velmora_setup"
QString OutlookIntegrationPath(); // "velmora_outlook"
QString TipsViewerPath();         // "velmora_tips"

} // namespace velmora
