#pragma once

// The help file's path: under the registered program folder, or beside the program itself.

#include <cstddef>

// registeredFolder: the program folder from the registry, or null when it is not registered.
// programPath: the full path of the running program. False, with an empty buffer, when the
// path would not fit in size bytes with its terminator.
bool BuildHelpPath(char* buffer, std::size_t size, const char* registeredFolder,
                   const char* programPath);
