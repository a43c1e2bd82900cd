#include "core/platform/safe_file.h"

#include "core/platform/process.h"
#include "core/platform/safe_file_os.h"
#include "core/platform/path_text.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace terrix {

namespace {

// "<file>.tmp<pid>.<n>": the process id tells a later save whether the writer is gone, the number keeps two
// saves of one process apart.
std::filesystem::path TempPathFor(const std::filesystem::path& file) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = file;
    temp += ".tmp" + std::to_string(CurrentProcessId()) + "." + std::to_string(counter++);
    return temp;
}

// Temporary files left beside `file` by a process that was killed in the middle of a save. A temporary
// file of a process that still runs may be a save in progress and stays.
void RemoveOrphanedTemps(const std::filesystem::path& file) {
    const std::string prefix = PathText(file.filename()) + ".tmp";
    std::error_code ec;
    std::filesystem::directory_iterator it(file.has_parent_path() ? file.parent_path() : ".", ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = PathText(it->path().filename());
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || end == name.c_str() + prefix.size() || (*end != '\0' && *end != '.')) {
            continue;
        }
        if (pid != CurrentProcessId() && !ProcessRunning(pid)) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

} // namespace

bool ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes, int* error,
                         bool* opened) {
    RemoveOrphanedTemps(file);
    bool created = false;
    // A name that exists already (left by a process whose id is in use again, or planted) is not
    // overwritten: the next number is tried.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::filesystem::path temp = TempPathFor(file);
        const bool written = os::WriteNewFile(temp, file, bytes, error, &created);
        if (opened != nullptr) {
            *opened = created;
        }
        if (!written) {
            if (*error == EEXIST) {
                continue;
            }
            return false;
        }
        if (!os::MoveOver(temp, file, error)) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return false;
        }
        *error = 0;
        return true;
    }
    return false;
}

} // namespace terrix
