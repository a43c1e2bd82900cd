#include "core/publish/broker_options.h"

#include "core/platform/ini_section.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace terrix {

namespace {

std::optional<BrokerOptions> Refuse(std::string* error, const std::string& why) {
    if (error != nullptr) {
        *error = why;
    }
    return std::nullopt;
}

bool Readable(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error != nullptr) {
            *error = path + ": " + std::strerror(errno != 0 ? errno : ENOENT);
        }
        return false;
    }
    return true;
}

} // namespace

PublishSettings ReadPublishSettings(const std::filesystem::path& settingsFile) {
    const CIniSection section(settingsFile, kPublishSection);
    PublishSettings settings;
    settings.url = section.ReadString("URL", "");
    settings.passwordFile = section.ReadString("PasswordFile", "");
    settings.caFile = section.ReadString("CAFile", "");
    settings.certFile = section.ReadString("CertFile", "");
    settings.keyFile = section.ReadString("KeyFile", "");
    return settings;
}

bool WritePublishSettings(const std::filesystem::path& settingsFile, const PublishSettings& settings) {
    CIniSection section(settingsFile, kPublishSection);
    section.BeginUpdate();
    section.WriteString("URL", settings.url);
    section.WriteString("PasswordFile", settings.passwordFile);
    section.WriteString("CAFile", settings.caFile);
    section.WriteString("CertFile", settings.certFile);
    section.WriteString("KeyFile", settings.keyFile);
    return section.EndUpdate();
}

std::optional<BrokerOptions> ResolveBrokerOptions(const PublishSettings& settings, std::string* error) {
    std::string why;
    std::optional<BrokerUrl> url = ParseBrokerUrl(settings.url, &why);
    if (!url) {
        return Refuse(error, why);
    }
    BrokerOptions options;
    options.url = *url;
    if (!settings.passwordFile.empty()) {
        std::ifstream in(settings.passwordFile, std::ios::binary);
        if (!in) {
            return Refuse(error, "the password file " + settings.passwordFile +
                                     " cannot be read: " + std::strerror(errno != 0 ? errno : ENOENT));
        }
        std::string password;
        std::getline(in, password); // the first line; an editor's line end is not part of it
        if (!password.empty() && password.back() == '\r') {
            password.pop_back();
        }
        options.password = password;
    } else if (const char* fromEnvironment = std::getenv(kPasswordVariable); fromEnvironment != nullptr) {
        options.password = fromEnvironment;
    }
    if (options.password && options.url.user.empty()) {
        return Refuse(error, "a password needs a user name in the address (mqtt://user@host/prefix)");
    }
    const bool anyTlsFile =
        !settings.caFile.empty() || !settings.certFile.empty() || !settings.keyFile.empty();
    if (anyTlsFile && !options.url.tls) {
        return Refuse(error, "certificate files are used only with TLS: write the address as mqtts://...");
    }
    if (settings.certFile.empty() != settings.keyFile.empty()) {
        return Refuse(error, "a client certificate needs its key file, and a key file its certificate");
    }
    for (const std::string* file : {&settings.caFile, &settings.certFile, &settings.keyFile}) {
        if (!file->empty() && !Readable(*file, &why)) {
            return Refuse(error, "cannot read " + why);
        }
    }
    options.caFile = settings.caFile;
    options.certFile = settings.certFile;
    options.keyFile = settings.keyFile;
    return options;
}

} // namespace terrix
