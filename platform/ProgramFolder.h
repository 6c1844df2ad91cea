// The folder of the running program and the files that ship beside it
// ("help.html", "Tuho.exe", "TuhoKick.exe").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tuho {

// Longest path, with its terminator, that the programs hand to the shell
// or the registry.
constexpr size_t kShellPathCapacity = 260;

// The full path of the running executable, or empty when it could not be
// had whole.
std::string programPath();
// Its folder without a trailing separator, or empty.
std::string programFolder();

// folder + "\" + name when it fits, terminator included, in `capacity`
// bytes; empty when the folder is empty or the path would not fit.
std::string pathInFolder(const std::string& folder, const std::string& name,
                         size_t capacity = kShellPathCapacity);

// Hands the file `name` in `folder` to the shell ("open" starts a program or
// shows a document) by its full path, so that the shell never looks for the
// name anywhere else. Nothing happens, and nothing is shown, when the folder
// is unknown, the path too long, or the file missing.
void openInFolder(const std::string& folder, const std::string& name, intptr_t owner);
// openInFolder of the program's own folder.
void openBesideProgram(const std::string& name, intptr_t owner);

}  // namespace tuho
