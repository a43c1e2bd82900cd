#include "core/platform/ini_document.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace terrix {

namespace {

std::string_view Trim(std::string_view s) {
    const char* ws = " \t\r\n";
    const size_t first = s.find_first_not_of(ws);
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = s.find_last_not_of(ws);
    return s.substr(first, last - first + 1);
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// "<file>.tmp<pid>.<n>": the process id tells a later save whether the writer is gone, the number keeps two
// saves of one process apart.
std::filesystem::path TempPathFor(const std::filesystem::path& file) {
    static std::atomic<unsigned> counter{0};
    return file.string() + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(counter++);
}

// Temporary files left beside `file` by a process that was killed in the middle of a save. A temporary
// file of a process that still runs may be a save in progress and stays.
void RemoveOrphanedTemps(const std::filesystem::path& file) {
    const std::string prefix = file.filename().string() + ".tmp";
    std::error_code ec;
    std::filesystem::directory_iterator it(file.has_parent_path() ? file.parent_path() : ".", ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || end == name.c_str() + prefix.size() || (*end != '\0' && *end != '.')) {
            continue;
        }
        if (pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

} // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

IniDocument IniDocument::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return IniDocument{};
    }
    // Read in pieces: a buffer of the full limit would be allocated and cleared for every small file.
    std::string text;
    std::string chunk(64 * 1024, '\0');
    while (text.size() <= kMaxFileBytes) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::streamsize got = in.gcount();
        if (got <= 0) {
            break;
        }
        text.append(chunk.data(), static_cast<size_t>(got));
    }
    const bool cut = text.size() > kMaxFileBytes;
    if (cut) {
        text.resize(kMaxFileBytes);
    }
    IniDocument doc = Parse(text);
    doc.wasCut_ = cut;
    return doc;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    doc.sections_.push_back(Section{});
    bool sawLine = false;
    bool crlf = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        const bool hasNewline = end != std::string_view::npos;
        if (!hasNewline) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            if (!sawLine) {
                crlf = true;
            }
        }
        sawLine = true;
        pos = hasNewline ? end + 1 : end;

        const std::string_view trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const size_t close = trimmed.find(']');
            const std::string_view name =
                Trim(close == std::string_view::npos ? trimmed.substr(1) : trimmed.substr(1, close - 1));
            doc.sections_.push_back(Section{std::string(name), true, {}});
            continue;
        }
        Line entry;
        entry.raw = std::string(line);
        const size_t eq = line.find('=');
        if (eq != std::string_view::npos && !trimmed.empty() && trimmed.front() != ';') {
            const std::string_view key = Trim(line.substr(0, eq));
            if (!key.empty()) {
                entry.key = std::string(key);
                entry.value = std::string(Trim(line.substr(eq + 1)));
            }
        }
        doc.sections_.back().lines.push_back(std::move(entry));
    }
    if (sawLine && !crlf) {
        doc.lineEnd_ = "\n";
    }
    return doc;
}

IniDocument::Section* IniDocument::FindSection(std::string_view name) {
    for (Section& s : sections_) {
        if (s.hasHeader && EqualsIgnoreCase(s.name, name)) {
            return &s;
        }
    }
    return nullptr;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
    return const_cast<IniDocument*>(this)->FindSection(name);
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (s == nullptr) {
        return std::nullopt;
    }
    for (const Line& line : s->lines) {
        if (!line.key.empty() && EqualsIgnoreCase(line.key, key)) {
            return line.value;
        }
    }
    return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = FindSection(section);
    if (s == nullptr) {
        sections_.push_back(Section{std::string(section), true, {}});
        s = &sections_.back();
    }
    for (Line& line : s->lines) {
        if (!line.key.empty() && EqualsIgnoreCase(line.key, key)) {
            line.value = std::string(value);
            line.raw = line.key + "=" + line.value;
            return;
        }
    }
    Line entry{std::string(key), std::string(value), std::string(key) + "=" + std::string(value)};
    // New keys go behind the last key of the section, before trailing blank lines.
    auto insertAt = s->lines.end();
    while (insertAt != s->lines.begin() && Trim(std::prev(insertAt)->raw).empty()) {
        --insertAt;
    }
    s->lines.insert(insertAt, std::move(entry));
}

bool IniDocument::RemoveKey(std::string_view section, std::string_view key) {
    Section* s = FindSection(section);
    if (s == nullptr) {
        return false;
    }
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
        if (!it->key.empty() && EqualsIgnoreCase(it->key, key)) {
            s->lines.erase(it);
            return true;
        }
    }
    return false;
}

bool IniDocument::RemoveSection(std::string_view section) {
    bool removed = false;
    for (auto it = sections_.begin(); it != sections_.end();) {
        if (it->hasHeader && EqualsIgnoreCase(it->name, section)) {
            it = sections_.erase(it);
            removed = true;
        } else {
            ++it;
        }
    }
    return removed;
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Section& s : sections_) {
        if (s.hasHeader) {
            names.push_back(s.name);
        }
    }
    return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* s = FindSection(section)) {
        for (const Line& line : s->lines) {
            if (!line.key.empty()) {
                names.push_back(line.key);
            }
        }
    }
    return names;
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const Section& s : sections_) {
        if (s.hasHeader) {
            out += "[" + s.name + "]" + lineEnd_;
        }
        for (const Line& line : s.lines) {
            out += line.raw + lineEnd_;
        }
    }
    return out;
}

bool IniDocument::Save(const std::filesystem::path& file, int* error) const {
    auto fail = [&](int code) {
        if (error != nullptr) {
            *error = code;
        }
        return false;
    };
    if (wasCut_) {
        return fail(EFBIG);
    }
    const std::string text = Serialize();
    RemoveOrphanedTemps(file);
    const std::filesystem::path temp = TempPathFor(file);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return fail(errno);
    }
    // The replacement keeps the permissions the user gave the file (one shared by a group, say).
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0) {
        if (::fchmod(fd, existing.st_mode & 07777) != 0) {
            // the default permissions then; the contents matter more
        }
    }
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int code = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            return fail(code);
        }
        done += static_cast<size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    if (::close(fd) != 0 || !synced) {
        const int code = synced ? errno : syncError;
        ::unlink(temp.c_str());
        return fail(code);
    }
    if (::rename(temp.c_str(), file.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        return fail(code);
    }
    return true;
}

} // namespace terrix
