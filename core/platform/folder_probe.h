#pragma once
// Whether files can be made in a folder now, found by making one: permissions, read-only media and full
// disks all show only in the attempt.

#include <string>

namespace terrix {

// 0 when a small file could be created and written in the folder `utf8Dir` (and was removed again), else
// the errno value that stopped it (ENOENT, ENOTDIR, EACCES, EROFS, ENOSPC, ...).
int FolderWriteError(const std::string& utf8Dir);

} // namespace terrix
