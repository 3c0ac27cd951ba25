#pragma once
// Where the suite's files are: the program folder, the install root, the
// per-user settings store and the bus session folder. Each can be redirected
// by an environment variable so tests never touch a real user's state.

#include <QString>

namespace velmora::platform {

// Folder of the running program file (from /proc/self/exe), with a trailing '/'.
QString programFolder();

// VELMORA_INSTALL_ROOT, else the parent of the program folder; trailing '/'.
QString installRoot();

// VELMORA_HKCU, else $XDG_CONFIG_HOME/Quorvane/registry.sqlite (~/.config/...).
QString settingsStorePath();

// VELMORA_SESSION, else $XDG_RUNTIME_DIR/velmora, else /tmp/velmora-<uid>.
// Created with mode 0700 when missing.
QString sessionFolder();

} // namespace velmora::platform
