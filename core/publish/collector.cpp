#include "core/publish/collector.h"

#include "core/platform/process.h"
#include "core/publish/mqtt_link.h"
#include "core/platform/path_text.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <thread>

namespace terrix {

namespace fs = std::filesystem;

std::string DefaultCollectorId(const std::vector<std::string>& prefixes, const fs::path& folder) {
    std::vector<std::string> sorted = prefixes;
    std::sort(sorted.begin(), sorted.end());
    std::string key = PathText(fs::absolute(folder).lexically_normal());
    for (const std::string& prefix : sorted) {
        key += '\n' + prefix;
    }
    uint32_t hash = 2166136261u; // FNV-1a: stable across runs and builds
    for (const char c : key) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", hash);
    const std::string host = HostName();
    if (host.empty()) {
        return std::string("terrix-collect-") + digits;
    }
    return "terrix-collect-" + host + "-" + digits;
}

std::optional<fs::path> CollectedFolder(const fs::path& folder, const std::string& prefix,
                                        std::string* error) {
    fs::path path = folder;
    size_t start = 0;
    while (start <= prefix.size()) {
        const size_t end = std::min(prefix.find('/', start), prefix.size());
        const std::string level = prefix.substr(start, end - start);
        if (level.empty() || level == "." || level == ".." || level.find('\\') != std::string::npos) {
            if (error != nullptr) {
                *error = "the topic prefix '" + prefix +
                         "' cannot name a folder: its levels must not be '.', "
                         "'..' or hold a '\\'";
            }
            return std::nullopt;
        }
        path /= level;
        start = end + 1;
    }
    return path;
}

bool RunCollector(const BrokerOptions& broker, const std::vector<std::string>& prefixes,
                  const fs::path& folder, const std::function<bool()>& stop,
                  const std::function<void(const std::string&)>& say, const CollectorOptions& options) {
    using Clock = std::chrono::steady_clock;
    BrokerOptions withId = broker;
    if (withId.clientId.empty()) {
        withId.clientId = DefaultCollectorId(prefixes, folder);
    }
    // Resend requests are made inside the library's message handler and sent after it returned.
    std::vector<std::pair<std::string, std::string>> requests;
    std::map<std::string, std::unique_ptr<CollectorSink>> sinks;
    for (const std::string& prefix : prefixes) {
        std::string error;
        const std::optional<fs::path> path = CollectedFolder(folder, prefix, &error);
        std::error_code ec;
        if (path) {
            fs::create_directories(*path, ec);
        }
        if (!path || ec) {
            say(path ? "cannot make the folder " + PathText(*path) + ": " + ec.message() : error);
            return false;
        }
        const auto ask = [&requests, prefix](uint16_t serial, const ResendRequest& request) {
            requests.emplace_back(ResendTopic(prefix, serial), BuildResendRequest(request));
        };
        sinks[prefix] = std::make_unique<CollectorSink>(PathText(*path), prefix, say, ask, options.limits);
    }
    const auto deliver = [&](std::string_view topic, std::string_view payload) {
        for (const auto& [prefix, sink] : sinks) {
            if (topic == prefix + "/status") {
                if (payload == "online") {
                    sink->LoggerOnline();
                }
                return;
            }
        }
        // "<prefix>/<serial>/record": the prefix is what stands before the last two levels.
        const size_t record = topic.rfind('/');
        const size_t serial =
            record == std::string_view::npos || record == 0 ? record : topic.rfind('/', record - 1);
        const auto sink =
            serial == std::string_view::npos ? sinks.end() : sinks.find(std::string(topic.substr(0, serial)));
        if (sink == sinks.end()) {
            say(std::string(topic) + ": message ignored: not a topic of the prefixes collected");
            return;
        }
        sink->second->Accept(topic, payload);
    };

    std::unique_ptr<MqttLink> link;
    std::string waitingReason;
    auto retry = options.firstRetry;
    Clock::time_point nextAttempt{};
    while (!stop()) {
        if (!link) {
            if (Clock::now() < nextAttempt) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                continue;
            }
            MqttHandlers handlers;
            handlers.message = deliver;
            auto fresh = std::make_unique<MqttLink>(withId, std::move(handlers), std::nullopt, true);
            std::string error;
            bool subscribed = fresh->Connect(options.connectTimeout, stop, &error);
            for (const auto& [prefix, sink] : sinks) {
                subscribed = subscribed && fresh->Subscribe(prefix + "/+/record", options.connectTimeout) &&
                             fresh->Subscribe(prefix + "/status", options.connectTimeout);
            }
            if (!subscribed) {
                if (stop()) {
                    break;
                }
                const std::string reason =
                    fresh->Where() + ": " + (error.empty() ? fresh->LostReason() : error);
                if (reason != waitingReason) {
                    say("collecting waits: " + reason);
                    waitingReason = reason;
                }
                nextAttempt = Clock::now() + retry;
                retry = std::min(retry * 2, options.lastRetry);
                continue;
            }
            for (const auto& [prefix, sink] : sinks) {
                say("collecting " + prefix + "/+/record from " + fresh->Where() + " into " +
                    PathText(CollectedFolder(folder, prefix, nullptr).value_or(folder)));
            }
            link = std::move(fresh);
            waitingReason.clear();
            retry = options.firstRetry;
        }
        bool alive = link->Loop(100);
        for (const auto& [topic, payload] : requests) {
            alive = alive && link->Publish(topic, payload) >= 0;
        }
        requests.clear();
        if (!alive) {
            const std::string reason = link->Where() + ": " + link->LostReason();
            say("collecting waits: " + reason);
            waitingReason = reason;
            link.reset();
            nextAttempt = Clock::now() + retry;
        }
        for (const auto& [prefix, sink] : sinks) {
            sink->CheckGaps();
        }
    }
    if (link) {
        link->Disconnect();
    }
    return true;
}

} // namespace terrix
