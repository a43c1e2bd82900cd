#include "gui/circuit/circuit_rules.h"

#include "core/inventory/stored_text.h"
#include "core/measure/meas_layouts.h"
#include "core/measure/plot_data.h"

#include <cstdio>
#include <system_error>

namespace terrix {

bool HasHaltState(const ModuleRecord& record) {
    return record.bIsTavikXV != 0 && (record.stationInfo.wFirmwareVersion & 0xFFu) >= 55;
}

CircuitCommands CircuitCommandStates(const CircuitInput& in) {
    CircuitCommands c;
    const bool any = in.moduleCount != 0;
    const bool row = any && in.current != nullptr;
    const bool xv = row && in.current->bIsTavikXV != 0;

    // Display stays usable while measuring: a value window only reads.
    c.menuDisplay = in.hasValueWindow && any;
    c.display = in.hasValueWindow && row;
    c.displayAll = in.hasValueWindow && any;
    if (in.jobRuns) {
        return c; // the job's result goes into the bus list when it ends: nothing may change the list
                  // meanwhile
    }
    c.menuUserData = in.hasUserData && any;
    c.menuActivate = any;
    c.menuRemove = any;
    c.menuRescan = any;
    c.menuStationNumber = in.hasStationNumber && any;
    c.menuRecreateAscii = any;
    c.menuResetBaud = in.hasResetBaud && any;
    c.menuError66 = in.hasError66 && xv; // only the XV module keeps the limit; a probe can only fail
    c.menuActiveCalib = in.hasActiveCalib && any;

    switch (in.run) {
    case CircuitRun::kSingle:
        c.singleMeas = true; // the pressed button is the stop button
        return c;
    case CircuitRun::kLoop:
        c.measLoop = true;
        return c;
    case CircuitRun::kIdle:
        break;
    }
    c.singleMeas = any;
    c.measLoop = row;
    c.rateEdit = true;
    c.erase = row;
    c.eraseAll = any;
    c.copyFiles = any;
    c.offset = in.hasOffset && xv;
    c.coefficients = in.hasCoefficients && xv;
    c.conversionTime = in.hasConversionTime && xv;
    c.applicationParameters = in.hasApplicationParameters && xv;
    c.haltState = xv && HasHaltState(*in.current);
    return c;
}

std::string CircuitMenuTitle(const ModuleRecord* current) {
    if (current == nullptr) {
        return {};
    }
    return std::to_string(current->SerialNo()) + " (" + Cp1252ToUtf8(current->ModuleName()) + ")";
}

std::string FormatCountdown(uint32_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

RowValueTexts MakeRowValueTexts(const ModuleRecord& module, CMeasRecord* value, uint32_t storedCount) {
    RowValueTexts texts;
    if (value == nullptr || storedCount == 0 || value->FieldCount() < 2) {
        return texts;
    }
    texts.lastMeas = value->Format(0);
    const MeasLayout layout = ChooseLayout(module);
    if (layout == MeasLayout::kXv || layout == MeasLayout::kXvWithTdc) {
        texts.switchText = value->Format(kXvDensity);
        texts.value = value->Format(kXvMoisture);
    } else {
        // Only the channels that measure; a one-value record holds the measuring channel in field 1.
        const std::vector<std::string> units = MeasFieldUnits(module);
        const uint32_t counts[2] = {module.dwNumberOfMeas0, module.dwNumberOfMeas1};
        for (size_t channel = 0; channel < 2; ++channel) {
            const size_t field = layout == MeasLayout::kTwoValue ? 1 + channel : 1;
            if (counts[channel] == 0 || field >= value->FieldCount()) {
                continue;
            }
            if (!texts.value.empty()) {
                texts.value += "   ";
            }
            texts.value += value->Format(field);
            if (field < units.size() && !units[field].empty()) {
                texts.value += " " + units[field]; // already UTF-8
            }
        }
    }
    texts.count = std::to_string(storedCount);
    return texts;
}

CopyReport CopyMeasurementFiles(const std::vector<CopySource>& sources, const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    CopyReport report;
    for (const CopySource& source : sources) {
        std::error_code ec;
        if (!fs::is_regular_file(source.file, ec)) {
            report.skipped.push_back(source.file);
            continue;
        }
        const fs::path target = folder / source.file.filename();
        if (!fs::copy_file(source.file, target, fs::copy_options::overwrite_existing, ec)) {
            report.failed.emplace_back(source.file, ec ? ec.message() : std::string("not copied"));
            continue;
        }
        // A copy shorter than its source (a medium that filled up) is no copy.
        const auto have = fs::file_size(target, ec);
        if (ec || have != fs::file_size(source.file, ec)) {
            report.failed.emplace_back(source.file, ec ? ec.message() : std::string("incomplete copy"));
            continue;
        }
        report.copied.push_back(source.file);
    }
    return report;
}

std::filesystem::path RemovableMediaStart(const std::string& user, const std::filesystem::path& home,
                                          const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    if (!user.empty()) {
        for (const fs::path& base : {root / "media" / user, root / "run" / "media" / user}) {
            std::error_code ec;
            for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
                if (it->is_directory(ec)) {
                    return it->path();
                }
            }
        }
    }
    return home;
}

} // namespace terrix
