#include "gui/publish/publish_form.h"

#include <string_view>

namespace terrix {

namespace {

constexpr std::string_view kSchemeEnd = "://";

struct AddressParts {
    std::string scheme; // "mqtt://", or empty when the text has none
    std::string user;
    std::string hostPort;
    std::string prefix;
};

AddressParts Split(std::string_view text) {
    AddressParts parts;
    if (const size_t end = text.find(kSchemeEnd); end != std::string_view::npos) {
        parts.scheme = std::string(text.substr(0, end + kSchemeEnd.size()));
        text.remove_prefix(end + kSchemeEnd.size());
    }
    const size_t slash = text.find('/');
    std::string_view authority = text.substr(0, slash);
    if (slash != std::string_view::npos) {
        parts.prefix = std::string(text.substr(slash + 1));
    }
    if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
        parts.user = std::string(authority.substr(0, at));
        authority.remove_prefix(at + 1);
    }
    parts.hostPort = std::string(authority);
    return parts;
}

std::string Trimmed(std::string_view text, std::string_view drop = " \t\r\n") {
    const size_t first = text.find_first_not_of(drop);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(drop) - first + 1));
}

} // namespace

PublishForm PublishForm::FromSettings(const PublishSettings& settings) {
    PublishForm form;
    form.passwordFile = settings.passwordFile;
    form.caFile = settings.caFile;
    form.certFile = settings.certFile;
    form.keyFile = settings.keyFile;
    if (settings.url.find(kSchemeEnd) == std::string::npos) {
        form.server = settings.url; // not an address: kept as it is
        return form;
    }
    const AddressParts parts = Split(settings.url);
    form.server = parts.scheme + parts.hostPort;
    form.user = parts.user;
    form.prefix = parts.prefix;
    return form;
}

PublishSettings PublishForm::ToSettings() const {
    PublishSettings settings;
    settings.passwordFile = Trimmed(passwordFile);
    settings.caFile = Trimmed(caFile);
    settings.certFile = Trimmed(certFile);
    settings.keyFile = Trimmed(keyFile);
    const std::string serverText = Trimmed(server);
    const std::string userText = Trimmed(user);
    const std::string prefixText = Trimmed(Trimmed(prefix), "/");
    if (serverText.empty() && userText.empty() && prefixText.empty()) {
        return settings;
    }
    const AddressParts parts = Split(serverText);
    const std::string& login = userText.empty() ? parts.user : userText;
    const std::string& topics = prefixText.empty() ? parts.prefix : prefixText;
    settings.url = (parts.scheme.empty() ? std::string("mqtt://") : parts.scheme) +
                   (login.empty() ? std::string() : login + "@") + parts.hostPort +
                   (topics.empty() ? std::string() : "/" + topics);
    return settings;
}

} // namespace terrix
