#include "core/platform/ini_section.h"

#include "core/platform/data_paths.h"
#include "core/platform/safe_file.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <mutex>

namespace terrix {

namespace {

// Each write reads the file, changes it and writes it back; two threads doing that at once would lose one
// of the changes. One lock for all files is plenty: writes are rare and short.
std::mutex& FileUpdateMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace

template <typename Change> bool CIniSection::Update(Change change) {
    if (view_ != nullptr) {
        lastError_ = EROFS; // a section over a document in memory has no file to write
        return false;
    }
    std::lock_guard lock(FileUpdateMutex());
    // The same between programs: the desktop program and terrix-cli read, change and write the settings and
    // module files of one data directory.
    FileLock processLock(file_);
    IniDocument doc = IniDocument::Load(file_);
    if (!change(doc)) {
        return true; // nothing changed: the file stays untouched
    }
    return Commit(doc);
}

namespace {

std::string_view SkipSpace(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    return s;
}

// scanf's %u accepts a sign and wraps a negative number; digits stop at the first non-digit.
bool ScanDigits(std::string_view text, bool& negative, uint64_t& magnitude) {
    text = SkipSpace(text);
    negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    magnitude = 0;
    bool any = false;
    while (!text.empty() && text.front() >= '0' && text.front() <= '9') {
        const uint64_t digit = static_cast<uint64_t>(text.front() - '0');
        magnitude = (magnitude > (UINT64_MAX - digit) / 10) ? UINT64_MAX : magnitude * 10 + digit;
        any = true;
        text.remove_prefix(1);
    }
    return any;
}

} // namespace

bool ParseUnsigned(std::string_view text, uint64_t& value) {
    bool negative = false;
    uint64_t magnitude = 0;
    if (!ScanDigits(text, negative, magnitude)) {
        return false;
    }
    value = negative ? (~magnitude + 1) : magnitude;
    return true;
}

bool ParseSigned(std::string_view text, int64_t& value) {
    uint64_t bits = 0;
    if (!ParseUnsigned(text, bits)) {
        return false;
    }
    value = static_cast<int64_t>(bits);
    return true;
}

bool ParseReal(std::string_view text, double& value) {
    text = SkipSpace(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc{} || result.ec == std::errc::result_out_of_range;
}

std::string FormatFixed6(double value) {
    if (std::isnan(value)) {
        return std::signbit(value) ? "-nan" : "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    char buffer[512];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

CIniSection::CIniSection() : file_(SettingsFilePath()) {}

CIniSection::CIniSection(std::filesystem::path file, std::string section)
    : file_(std::move(file)), section_(std::move(section)) {}

CIniSection CIniSection::ForModule(uint16_t serialNo) {
    return CIniSection(ModuleFilePath(serialNo));
}

CIniSection CIniSection::Over(const IniDocument& document, std::string section) {
    CIniSection ini({}, std::move(section));
    ini.view_ = &document;
    return ini;
}

CIniSection::~CIniSection() {
    if (pending_) {
        EndUpdate();
    }
}

CIniSection::CIniSection(CIniSection&&) noexcept = default;
CIniSection& CIniSection::operator=(CIniSection&&) noexcept = default;

void CIniSection::SetSection(std::string_view name) {
    section_ = std::string(name);
}

bool CIniSection::ResetSection(std::string_view name) {
    section_ = std::string(name);
    if (pending_) {
        pendingDirty_ |= pending_->RemoveSection(section_);
        pendingEdits_.push_back({Edit::Kind::kRemoveSection, section_, {}, {}});
        return true;
    }
    return Update([this](IniDocument& doc) { return doc.RemoveSection(section_); });
}

std::optional<std::string> CIniSection::RawValue(std::string_view key, size_t buffer) const {
    const IniDocument* doc = InMemory();
    std::optional<std::string> value =
        doc != nullptr ? doc->Get(section_, key) : IniDocument::Load(file_).Get(section_, key);
    if (!value) {
        return std::nullopt;
    }
    std::string& text = *value;
    // A value in matching quotes is read without them.
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    if (text.size() > buffer - 1) {
        text.resize(buffer - 1);
    }
    return value;
}

bool CIniSection::HasKey(std::string_view key) const {
    const IniDocument* doc = InMemory();
    return (doc != nullptr ? doc->Get(section_, key) : IniDocument::Load(file_).Get(section_, key))
        .has_value();
}

uint32_t CIniSection::ReadDWord(std::string_view key, uint32_t def) const {
    uint64_t v = 0;
    return ParseUnsigned(RawValue(key, kValueBuffer).value_or(""), v) ? static_cast<uint32_t>(v) : def;
}

uint16_t CIniSection::ReadWord(std::string_view key, uint16_t def) const {
    uint64_t v = 0;
    return ParseUnsigned(RawValue(key, kValueBuffer).value_or(""), v) ? static_cast<uint16_t>(v) : def;
}

uint8_t CIniSection::ReadByte(std::string_view key, uint8_t def) const {
    uint64_t v = 0;
    return ParseUnsigned(RawValue(key, kValueBuffer).value_or(""), v) ? static_cast<uint8_t>(v & 0xFFu) : def;
}

int32_t CIniSection::ReadInt(std::string_view key, int32_t def) const {
    int64_t v = 0;
    return ParseSigned(RawValue(key, kValueBuffer).value_or(""), v) ? static_cast<int32_t>(v) : def;
}

int16_t CIniSection::ReadShort(std::string_view key, int16_t def) const {
    int64_t v = 0;
    return ParseSigned(RawValue(key, kValueBuffer).value_or(""), v) ? static_cast<int16_t>(v) : def;
}

float CIniSection::ReadFloat(std::string_view key, float def) const {
    double v = 0;
    return ParseReal(RawValue(key, kValueBuffer).value_or(""), v) ? static_cast<float>(v) : def;
}

double CIniSection::ReadDouble(std::string_view key, double def) const {
    double v = 0;
    return ParseReal(RawValue(key, kValueBuffer).value_or(""), v) ? v : def;
}

std::string CIniSection::ReadString(std::string_view key, std::string_view def) const {
    if (std::optional<std::string> value = RawValue(key, kStringBuffer)) {
        return std::move(*value);
    }
    std::string text(def);
    if (text.size() > kStringBuffer - 1) {
        text.resize(kStringBuffer - 1);
    }
    return text;
}

bool CIniSection::WriteDWord(std::string_view key, uint32_t value) {
    return Store(key, std::to_string(value));
}
bool CIniSection::WriteWord(std::string_view key, uint16_t value) {
    return Store(key, std::to_string(value));
}
bool CIniSection::WriteByte(std::string_view key, uint8_t value) {
    return Store(key, std::to_string(value));
}
bool CIniSection::WriteInt(std::string_view key, int32_t value) {
    return Store(key, std::to_string(value));
}
bool CIniSection::WriteShort(std::string_view key, int16_t value) {
    return Store(key, std::to_string(value));
}
bool CIniSection::WriteFloat(std::string_view key, float value) {
    return Store(key, FormatFixed6(value));
}
bool CIniSection::WriteDouble(std::string_view key, double value) {
    return Store(key, FormatFixed6(value));
}

bool CIniSection::WriteString(std::string_view key, std::string_view text) {
    // A line break would end the value early and leave the rest as a stray line.
    std::string oneLine(text);
    for (char& c : oneLine) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return Store(key, oneLine);
}

bool CIniSection::DeleteKey(std::string_view key) {
    if (pending_) {
        pendingDirty_ |= pending_->RemoveKey(section_, key);
        pendingEdits_.push_back({Edit::Kind::kRemoveKey, section_, std::string(key), {}});
        return true;
    }
    return Update([this, key](IniDocument& doc) { return doc.RemoveKey(section_, key); });
}

bool CIniSection::Store(std::string_view key, std::string_view value) {
    if (pending_) {
        pending_->Set(section_, key, value);
        pendingDirty_ = true;
        pendingEdits_.push_back({Edit::Kind::kSet, section_, std::string(key), std::string(value)});
        return true;
    }
    return Update([this, key, value](IniDocument& doc) {
        // A value that is there already is not written again (the language at every start, for one).
        if (doc.Get(section_, key) == value) {
            return false;
        }
        doc.Set(section_, key, value);
        return true;
    });
}

bool CIniSection::Commit(const IniDocument& doc) {
    int error = 0;
    if (!doc.Save(file_, &error)) {
        lastError_ = error;
        return false;
    }
    lastError_ = 0;
    return true;
}

void CIniSection::BeginUpdate() {
    if (!pending_ && view_ == nullptr) {
        pending_ = std::make_unique<IniDocument>(IniDocument::Load(file_));
        pendingDirty_ = false;
        pendingEdits_.clear();
    }
}

bool CIniSection::EndUpdate() {
    if (!pending_) {
        return true;
    }
    pending_.reset();
    const bool dirty = pendingDirty_;
    pendingDirty_ = false;
    const std::vector<Edit> edits = std::move(pendingEdits_);
    pendingEdits_.clear();
    if (!dirty) {
        return true;
    }
    return Update([&edits](IniDocument& doc) {
        for (const Edit& edit : edits) {
            switch (edit.kind) {
            case Edit::Kind::kSet:
                doc.Set(edit.section, edit.key, edit.value);
                break;
            case Edit::Kind::kRemoveKey:
                doc.RemoveKey(edit.section, edit.key);
                break;
            case Edit::Kind::kRemoveSection:
                doc.RemoveSection(edit.section);
                break;
            }
        }
        return true;
    });
}

} // namespace terrix
