#include "cli/progress_display.h"

#include <cstdio>
#include <memory>

namespace terrix::cli {

namespace {

struct DisplayState {
    bool live = false;
    bool quiet = false;
    bool lineOpen = false;
    uint32_t lastPercentLine = 1000;
    uint32_t station = 0;
    uint32_t percent = 0;
    uint32_t found = 0;
    uint32_t unanswered = 0;
    std::string activity;
};

std::shared_ptr<DisplayState> currentDisplay;

void DrawBar(DisplayState& s) {
    const int width = 30;
    const int filled = static_cast<int>(s.percent * width / 100);
    std::fprintf(stderr, "\r%s [%.*s%*s] %3u %%  station %3u  found %u%s\x1b[K", s.activity.c_str(), filled,
                 "##############################", width - filled, "", s.percent, s.station, s.found,
                 s.unanswered > 0 ? (" (" + std::to_string(s.unanswered) + " not identified)").c_str() : "");
    std::fflush(stderr);
    s.lineOpen = true;
}

} // namespace

ProgressCallback MakeProgressDisplay(CliContext& context, const char* activity) {
    auto state = std::make_shared<DisplayState>();
    state->live = context.StderrIsTerminal();
    state->quiet = context.options.quiet;
    state->activity = activity;
    currentDisplay = state;
    CliContext::InstallInterruptHandler();
    return [state](const ScanProgress& p) {
        DisplayState& s = *state;
        if (!s.quiet) {
            switch (p.event) {
            case kEventOpeningPort: std::fprintf(stderr, "Opening COM port...\n"); break;
            case kEventResynchronising: std::fprintf(stderr, "Resynchronizing module...\n"); break;
            case kEventProbing:
                s.station = p.station;
                s.percent = p.percent;
                if (s.live) {
                    DrawBar(s);
                } else if (p.percent / 10 != s.lastPercentLine) {
                    s.lastPercentLine = p.percent / 10;
                    std::fprintf(stderr, "%s: %u %% (station %u)\n", s.activity.c_str(), p.percent, p.station);
                }
                break;
            case kEventIdentified:
                ++s.found;
                if (p.record != nullptr) {
                    if (s.live) {
                        std::fprintf(stderr, "\r\x1b[K");
                    }
                    std::fprintf(stderr, "  found %s (serial %u) at station %u\n", p.record->ModuleName().c_str(),
                                 p.record->SerialNo(), p.station);
                }
                if (s.live) {
                    DrawBar(s);
                }
                break;
            case kEventNotIdentified:
                ++s.unanswered;
                if (s.live) {
                    std::fprintf(stderr, "\r\x1b[K");
                }
                std::fprintf(stderr, "  station %u answered but could not be identified\n", p.station);
                break;
            default: break;
            }
        }
        return !CliContext::Interrupted();
    };
}

void FinishProgressDisplay(CliContext&) {
    if (currentDisplay && currentDisplay->lineOpen) {
        std::fprintf(stderr, "\n");
        currentDisplay->lineOpen = false;
    }
}

} // namespace terrix::cli
