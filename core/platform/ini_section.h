#pragma once
// Typed access to one section of a profile file (the settings file or a module file). Reads never fail: a
// missing or unparsable value gives the caller's default. Each write reaches the disk at once, atomically,
// unless the writes are grouped between BeginUpdate and EndUpdate, which write the file once.

#include "core/platform/ini_document.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terrix {

class CIniSection {
public:
    // The settings file.
    CIniSection();
    explicit CIniSection(std::filesystem::path file, std::string section = {});
    // The module file of a serial number.
    static CIniSection ForModule(uint16_t serialNo);
    // Reads from a document already in memory, which must outlive the section; writes fail and nothing is
    // ever written anywhere. The readers of the profile files take their input this way.
    static CIniSection Over(const IniDocument& document, std::string section = {});
    ~CIniSection();

    CIniSection(CIniSection&&) noexcept;
    CIniSection& operator=(CIniSection&&) noexcept;
    CIniSection(const CIniSection&) = delete;
    CIniSection& operator=(const CIniSection&) = delete;

    const std::filesystem::path& File() const { return file_; }
    const std::string& Section() const { return section_; }

    void SetSection(std::string_view name);
    // Makes `name` current and deletes that whole section from the file.
    bool ResetSection(std::string_view name);

    // "%u" / "%lu"
    uint32_t ReadDWord(std::string_view key, uint32_t def) const;
    // "%hu"; keeps the value modulo 65536
    uint16_t ReadWord(std::string_view key, uint16_t def) const;
    // "%hu", then the low 8 bits (300 reads as 44)
    uint8_t ReadByte(std::string_view key, uint8_t def) const;
    // "%d", also for booleans and enumerations
    int32_t ReadInt(std::string_view key, int32_t def) const;
    // "%hd"
    int16_t ReadShort(std::string_view key, int16_t def) const;
    // "%f"
    float ReadFloat(std::string_view key, float def) const;
    // "%lf"
    double ReadDouble(std::string_view key, double def) const;
    // At most 1023 characters, like the profile buffer it stands for.
    std::string ReadString(std::string_view key, std::string_view def) const;
    bool HasKey(std::string_view key) const;

    bool WriteDWord(std::string_view key, uint32_t value);
    bool WriteWord(std::string_view key, uint16_t value);
    bool WriteByte(std::string_view key, uint8_t value);
    bool WriteInt(std::string_view key, int32_t value);
    bool WriteShort(std::string_view key, int16_t value);
    bool WriteFloat(std::string_view key, float value);
    bool WriteDouble(std::string_view key, double value);
    bool WriteString(std::string_view key, std::string_view text);
    bool DeleteKey(std::string_view key);

    // Groups the following writes into one write of the file at EndUpdate (also on destruction). The
    // changes are applied to the file as it is at EndUpdate, so that what another program (the desktop
    // program and terrix-cli share the files) wrote in between is kept.
    void BeginUpdate();
    // False when the file could not be written; LastError() then holds the system's error code.
    bool EndUpdate();
    int LastError() const { return lastError_; }

    static constexpr size_t kValueBuffer = 30;    // numbers
    static constexpr size_t kStringBuffer = 1024; // ReadString

private:
    // The document reads come from (the pending one or the one read over), or nullptr for the file.
    const IniDocument* InMemory() const { return view_ != nullptr ? view_ : pending_.get(); }
    // The value cut to `buffer` - 1 characters without its quotes; nothing when the key is missing.
    std::optional<std::string> RawValue(std::string_view key, size_t buffer) const;
    bool Store(std::string_view key, std::string_view value);
    bool Commit(const IniDocument& doc);
    // Loads the file, applies `change` and writes the file back, holding the lock of other threads and
    // programs meanwhile; the file is not written when `change` returns false (nothing changed).
    template <typename Change> bool Update(Change change);

    struct Edit {
        enum class Kind { kSet, kRemoveKey, kRemoveSection } kind;
        std::string section;
        std::string key;
        std::string value;
    };

    std::filesystem::path file_;
    std::string section_;
    std::unique_ptr<IniDocument> pending_; // between BeginUpdate and EndUpdate
    bool pendingDirty_ = false;
    std::vector<Edit> pendingEdits_; // replayed on the file as it is at EndUpdate
    const IniDocument* view_ = nullptr;
    int lastError_ = 0;
};

// Locale-independent number formats of the profile files.
std::string FormatFixed6(double value); // "%f"
bool ParseUnsigned(std::string_view text, uint64_t& value);
bool ParseSigned(std::string_view text, int64_t& value);
bool ParseReal(std::string_view text, double& value);

} // namespace terrix
