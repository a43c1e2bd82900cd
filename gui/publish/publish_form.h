#pragma once
// The fields of the "Publish values" dialog and how they map onto the "[Publish]" section of the settings
// file. The section keeps the broker address whole (mqtt://user@host:port/prefix); the dialog shows it as
// the server, the user and the topic prefix, and joins them again on saving. Text that is no address stays
// whole in the server field, so nothing the file held is lost on the way.

#include "core/publish/broker_options.h"

#include <string>

namespace terrix {

struct PublishForm {
    std::string server; // "mqtt://host:port" or "mqtts://host"; a host alone means mqtt://
    std::string user;
    std::string prefix;
    std::string passwordFile;
    std::string caFile;
    std::string certFile;
    std::string keyFile;

    bool operator==(const PublishForm&) const = default;

    static PublishForm FromSettings(const PublishSettings& settings);
    // Blanks around each field are dropped, and slashes around the prefix. A user or prefix left empty
    // is taken from the server field when it holds a whole address. No server, user and prefix: no
    // publishing (an empty address).
    PublishSettings ToSettings() const;
};

} // namespace terrix
