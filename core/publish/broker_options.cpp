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

// The first line of a password file; an editor's line end is not part of it.
std::optional<std::string> ReadPassword(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error != nullptr) {
            *error = "the password file " + path +
                     " cannot be read: " + std::strerror(errno != 0 ? errno : ENOENT);
        }
        return std::nullopt;
    }
    std::string password;
    std::getline(in, password);
    if (!password.empty() && password.back() == '\r') {
        password.pop_back();
    }
    return password;
}

// Names and addresses that reach this computer only, where a login in clear text never crosses a wire.
bool IsThisComputer(const std::string& host) {
    return host == "localhost" || host == "::1" || host.starts_with("127.") || host.ends_with(".localhost");
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
    const char* credentials = std::getenv("CREDENTIALS_DIRECTORY");
    const std::filesystem::path credential = credentials != nullptr && *credentials != '\0'
                                                 ? std::filesystem::path(credentials) / kPasswordCredential
                                                 : std::filesystem::path();
    std::error_code ec;
    if (!settings.passwordFile.empty()) {
        options.password = ReadPassword(settings.passwordFile, &why);
        if (!options.password) {
            return Refuse(error, why);
        }
        const std::filesystem::perms perms = std::filesystem::status(settings.passwordFile, ec).permissions();
        if (!ec && (perms & std::filesystem::perms::others_read) != std::filesystem::perms::none) {
            options.warnings.push_back("the password file " + settings.passwordFile +
                                       " is readable by every user of this computer; make it private with "
                                       "'chmod o-r " +
                                       settings.passwordFile + "'");
        }
    } else if (!credential.empty() && std::filesystem::exists(credential, ec)) {
        options.password = ReadPassword(credential.string(), &why);
        if (!options.password) {
            return Refuse(error, why);
        }
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
    if (options.password && !options.url.tls && !IsThisComputer(options.url.host)) {
        options.warnings.push_back("the login of " + options.url.user + " goes to " + options.url.Where() +
                                   " in clear text, readable on every network in between; use mqtts:// for "
                                   "a broker on another computer");
    }
    options.caFile = settings.caFile;
    options.certFile = settings.certFile;
    options.keyFile = settings.keyFile;
    return options;
}

} // namespace terrix
