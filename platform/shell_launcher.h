#pragma once
// Hands a program, document, folder or link to the desktop, the way the
// shell's execute operation does, and answers with its result codes: above 32
// is success; 2 file not found, 3 path not found, 5 access denied, 31 no
// application associated. Programs start detached; everything else goes to
// xdg-open, or with VELMORA_SHELL_OPEN=record:FILE is only written to FILE.

#include <QString>

namespace velmora::platform {

inline constexpr int kShellSuccess = 42;
inline constexpr int kShellFileNotFound = 2;
inline constexpr int kShellPathNotFound = 3;
inline constexpr int kShellAccessDenied = 5;
inline constexpr int kShellNoAssociation = 31;

struct ShellRequest {
    QString verb;       // "", "open", ...
    QString file;       // program, document, folder or link (http:, mailto:, file:)
    QString parameters; // command-line text for a program
    QString folder;     // working folder; relative files are looked up there
};

int shellExecute(const ShellRequest& request);

} // namespace velmora::platform
