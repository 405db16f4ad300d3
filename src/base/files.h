// Small file-system services: existence test, removal, and whole-file replacement that
// never leaves the old file missing (new file written beside it, then renamed over it).
#pragma once

#include <string>
#include <string_view>

#include "outcome.h"

namespace vornelle {

bool fileExists(const std::string& path);
// Removes the file; a file that does not exist counts as removed.
Status removeFile(const std::string& path);
// Writes `contents` to a new file beside `path`, flushes it to disk and renames it over
// `path`. When anything fails the old file is untouched and the message says why.
Status replaceFile(const std::string& path, std::string_view contents);
// Reads a whole file.
Outcome<std::string> readFile(const std::string& path);
// Deletes a regular file; a missing file, a folder or a refusal is reported with the file's
// name and the reason.
Status deleteFile(const std::string& path);
// Renames a file without ever replacing another one: a target that exists is refused.
Status renameFile(const std::string& from, const std::string& to);
// The reason of a system error number, in French.
std::string systemReason(int error);
// Ensures the folder exists (parents included) with the given mode; checks it is writable.
Status ensureFolder(const std::string& path, unsigned mode);

}  // namespace vornelle
