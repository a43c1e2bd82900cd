#pragma once
// One profile ("ini") file in memory, with the observable behaviour of Windows profile files: sections and
// key names compare without regard to letter case, "key=value" lines, everything else kept in order.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terrix {

class IniDocument {
public:
    // Files above this size are read only in part and never written back, so nothing beyond is lost.
    static constexpr uintmax_t kMaxFileBytes = 16u * 1024u * 1024u;

    // Reads the file; a missing or unreadable file gives an empty document (profile reads never fail).
    static IniDocument Load(const std::filesystem::path& file);
    static IniDocument Parse(std::string_view text);

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);
    bool RemoveKey(std::string_view section, std::string_view key);
    bool RemoveSection(std::string_view section);
    bool HasSection(std::string_view section) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

    std::string Serialize() const;
    // Writes atomically: a temporary file beside the target is written, flushed to disk and renamed over
    // it, so a crash or a full disk leaves the previous file whole. errno-style code in `error` on failure.
    bool Save(const std::filesystem::path& file, int* error = nullptr) const;

    bool WasCut() const { return wasCut_; }

private:
    struct Line {
        std::string key; // empty for lines that are not key=value (comments, blank lines, garbage)
        std::string value;
        std::string raw;
    };
    struct Section {
        std::string name; // empty for lines before the first section header
        bool hasHeader = false;
        std::vector<Line> lines;
    };

    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> sections_;
    std::string lineEnd_ = "\r\n";
    bool wasCut_ = false;
};

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

} // namespace terrix
