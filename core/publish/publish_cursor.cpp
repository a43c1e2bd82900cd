#include "core/publish/publish_cursor.h"

#include "core/measure/meas_data_file.h"
#include "core/platform/ini_document.h"

#include <charconv>

namespace terrix {

namespace {
constexpr const char* kSection = "Published";
}

std::string PublishCursorPath(const std::string& directory, uint16_t serial) {
    return CMeasDataFile::BuildFileName(directory, serial, ".Published");
}

PublishCursor ReadPublishCursor(const std::string& path) {
    const IniDocument document = IniDocument::Load(path);
    const std::optional<std::string> file = document.Get(kSection, "File");
    const std::optional<std::string> count = document.Get(kSection, "Acknowledged");
    PublishCursor cursor;
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

bool WritePublishCursor(const std::string& path, const PublishCursor& cursor, int* error) {
    IniDocument document;
    document.Set(kSection, "File", cursor.fileStart);
    document.Set(kSection, "Acknowledged", std::to_string(cursor.acknowledged));
    return document.Save(path, error);
}

} // namespace terrix
