// Small file-system services: existence test, removal, and whole-file replacement that
// never leaves the old file missing (new file written beside it, then renamed over it).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
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
// Reads a whole file of at most `limit` bytes. The files read this way (configuration,
// details, profiles, resume points) are a few kilobytes; a larger one is damaged or not
// what it claims, and is refused rather than held whole in memory.
constexpr size_t kReadLimit = 64u << 20;  // bytes
Outcome<std::string> readFile(const std::string& path, size_t limit = kReadLimit);
// Deletes a regular file; a missing file, a folder or a refusal is reported with the file's
// name and the reason.
Status deleteFile(const std::string& path);
// Renames a file without ever replacing another one: a target that exists is refused.
Status renameFile(const std::string& from, const std::string& to);
// The reason of a system error number, in French.
std::string systemReason(int error);
// The disk as the program's writers reach it. Tests replace parts of it to make the disk
// fill up, a folder refuse new files or a rename fail, without a real full disk.
struct DiskLayer {
    enum class Op { Create, Write, Rename };
    // An error number (ENOSPC, EACCES, EIO...) for the operation about to be made on `path`
    // (`bytes` more bytes for Write), or 0 to let it happen. Unset: no faults.
    std::function<int(Op op, const std::string& path, uint64_t bytes)> fault;
    // Bytes available to the user on the file system holding `path`. Unset: statvfs.
    std::function<Outcome<uint64_t>(const std::string& path)> freeSpace;
};
DiskLayer& diskLayer();

// fopen, fwrite and rename(2) through the disk layer; on failure errno says why.
std::FILE* openFile(const std::string& path, const char* mode);
bool writeBytes(std::FILE* file, const std::string& path, const void* data, size_t size);
int renamePath(const std::string& from, const std::string& to);

// Bytes available on the file system of `path` (a file that may not exist yet: its folder).
Outcome<uint64_t> freeSpace(const std::string& path);
// True when both paths (or their folders) are on one file system.
bool sameFileSystem(const std::string& a, const std::string& b);
// A size as the messages give it, in megabytes below a gigabyte: "850 Mo", "36 Go". A need
// is rounded up, a free space down, so that the message never shows a need that would fit.
std::string sizeText(uint64_t bytes, bool roundUp);

// Ensures the folder exists (parents included) with the given mode; checks it is writable.
Status ensureFolder(const std::string& path, unsigned mode);

}  // namespace vornelle
