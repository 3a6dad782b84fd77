// Writing shell links (.lnk shortcuts) through the shell link object.
#pragma once

#include <string>

// Writes the link file linkFile that starts target with the given arguments
// and working directory (empty for none), shows the first icon of iconFile
// and carries the description. Silent: a caller learns of a missing link
// only by looking for the file. An existing writable link of that name is
// replaced.
void CreateShellLink(const std::string& target, const std::string& linkFile, const std::string& description,
                     const std::string& arguments, const std::string& iconFile,
                     const std::string& workingDirectory);
