#pragma once
// `collect`: subscribes to the records of every logger under a prefix and writes them into files
// (collector_sink.h). It keeps its session at the broker under a fixed client id, so records published
// while it was away are delivered when it comes back, and connects again by itself when the broker goes.

#include "core/publish/broker_options.h"

#include <chrono>
#include <functional>
#include <string>

namespace terrix {

struct CollectorOptions {
    std::chrono::milliseconds firstRetry{1000};
    std::chrono::milliseconds lastRetry{30000};
    std::chrono::milliseconds connectTimeout{10000};
    std::chrono::milliseconds gapPatience{10000};
};

// The client id a collector uses unless told otherwise: "terrix-collect-<host name>".
std::string DefaultCollectorId();

// Runs until `stop` says so; every notice goes to `say` (connected, waiting and why, gaps, refused messages).
void RunCollector(const BrokerOptions& broker, const std::string& directory,
                  const std::function<bool()>& stop, const std::function<void(const std::string&)>& say,
                  const CollectorOptions& options = {});

} // namespace terrix
