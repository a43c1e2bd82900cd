#include "core/platform/ini_document.h"

#include "core/platform/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>

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
    int code = 0;
    if (!ReplaceFileContents(file, Serialize(), &code)) {
        return fail(code);
    }
    return true;
}

} // namespace terrix
