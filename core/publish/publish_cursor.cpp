#include "core/publish/publish_cursor.h"

#include "core/measure/meas_data_file.h"
#include "core/platform/ini_document.h"

#include <charconv>

namespace terrix {

namespace {

constexpr std::string_view kSectionStart = "Published ";

// The section that holds `destination`'s cursor, or empty.
std::string SectionOf(const IniDocument& document, const std::string& destination) {
    for (const std::string& name : document.SectionNames()) {
        if (name.starts_with(kSectionStart) && document.Get(name, "Broker") == destination) {
            return name;
        }
    }
    return {};
}

} // namespace

std::string PublishCursorPath(const std::string& directory, uint16_t serial) {
    return CMeasDataFile::BuildFileName(directory, serial, ".Published");
}

PublishCursor ReadPublishCursor(const std::string& path, const std::string& destination) {
    const IniDocument document = IniDocument::Load(path);
    const std::string section = SectionOf(document, destination);
    PublishCursor cursor;
    if (section.empty()) {
        return cursor;
    }
    const std::optional<std::string> file = document.Get(section, "File");
    const std::optional<std::string> count = document.Get(section, "Acknowledged");
    uint32_t acknowledged = 0;
    if (!file || file->empty() || !count) {
        return cursor;
    }
    const auto [end, ec] = std::from_chars(count->data(), count->data() + count->size(), acknowledged);
    if (ec != std::errc() || end != count->data() + count->size()) {
        return cursor;
    }
    cursor.fileStart = *file;
    cursor.acknowledged = acknowledged;
    return cursor;
}

bool WritePublishCursor(const std::string& path, const std::string& destination, const PublishCursor& cursor,
                        int* error) {
    IniDocument document = IniDocument::Load(path);
    std::string section = SectionOf(document, destination);
    for (int n = 1; section.empty(); ++n) {
        const std::string name = std::string(kSectionStart) + std::to_string(n);
        if (!document.HasSection(name)) {
            section = name;
        }
    }
    document.Set(section, "Broker", destination);
    document.Set(section, "File", cursor.fileStart);
    document.Set(section, "Acknowledged", std::to_string(cursor.acknowledged));
    return document.Save(path, error);
}

} // namespace terrix
