#pragma once
// `collect`: subscribes to the records of the loggers of one or more topic prefixes on one broker and writes
// each prefix's records into a folder of its own below the collecting folder ("<folder>/<prefix>", one
// subfolder per topic level), a complete data folder that the desktop program opens: every bus stays whole
// and apart, although each has its own stations and its multiplexer at 252. It keeps its session at the
// broker under a client id of its own for these prefixes and this folder, so records published while it was
// away are delivered when it comes back, and connects again by itself when the broker goes. It asks a logger
// for records the broker dropped (collector_sink.h): when a gap stays open, and for every module collected
// before when a logger says "online" on its status topic.

#include "core/publish/broker_options.h"
#include "core/publish/collector_sink.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace terrix {

struct CollectorOptions {
    std::chrono::milliseconds firstRetry{1000};
    std::chrono::milliseconds lastRetry{30000};
    std::chrono::milliseconds connectTimeout{10000};
    CollectorLimits limits;
};

// The client id a collector uses unless told otherwise: "terrix-collect-<host name>-<8 hex digits>", the
// digits a hash of the prefixes and the folder, so that two collectors on one host never take each other's
// session.
std::string DefaultCollectorId(const std::vector<std::string>& prefixes, const std::filesystem::path& folder);

// The folder of a prefix's records below `folder`; none, with the reason in *error, for a prefix with a level
// that cannot be a folder name ("." or "..").
std::optional<std::filesystem::path> CollectedFolder(const std::filesystem::path& folder,
                                                     const std::string& prefix, std::string* error);

// Runs until `stop` says so; every notice goes to `say` (connected, waiting and why, gaps, refused
// messages). `broker` names the broker and its login; its own prefix is not used. False, said why, when a
// prefix's folder cannot be made.
bool RunCollector(const BrokerOptions& broker, const std::vector<std::string>& prefixes,
                  const std::filesystem::path& folder, const std::function<bool()>& stop,
                  const std::function<void(const std::string&)>& say, const CollectorOptions& options = {});

} // namespace terrix
