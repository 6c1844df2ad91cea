// Windows paths on every system. The core composes paths exactly as on
// Windows ("D:\Music\a.mp3"), in the ANSI code page; on POSIX nativePath()
// maps the drive through a table that tests set, turns backslashes into
// slashes and the ANSI text into the system's UTF-8.
#pragma once

#include <string>

namespace tuho {

// The path as the operating system wants it.
std::string nativePath(const std::string& windowsPath);
// POSIX only: a path of the system's own ("/music"), which the program takes
// as it is besides drive and share paths. False on Windows.
bool isNativeFullPath(const std::string& path);
// POSIX only: "D:" resolves to `folder`. An empty folder removes the mapping.
void mapDrive(char letter, const std::string& folder);

}  // namespace tuho
