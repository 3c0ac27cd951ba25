#pragma once
// The help: HTML topics under the install root's Help folder, opened in the
// desktop's browser. Topics are named the way the windows ask for them, e.g.
// "Velmora Agent\Introduction.htm".

#include <QString>

namespace velmora {

// The help's home: install root + "Help/Velmora"; its topics are below "HTML/".
QString HelpFilePath();
// The file a topic lives in (backslashes become folder separators).
QString HelpTopicPath(const QString& topic);

// Opens the topic (or, when that page is missing, the help's first page);
// shows the missing-help box when the help itself is not installed.
void ShowHelpFile(const QString& topic);

// The short text of a context number, from the help's "context.txt"
// ("number=text" lines); empty when there is none.
QString ContextHelpText(int contextNumber);
// Shows that text as a pop-up at the mouse position.
void ShowContextHelp(int contextNumber);

} // namespace velmora
