#include "support/test_broker.h"

#include "core/publish/mqtt_link.h"
#include "support/child_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace terrix::test {

namespace {

uint16_t FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    uint16_t port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

bool Accepts(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

bool Run(const std::string& program, const std::vector<std::string>& args) {
    const RunResult result = RunProgram(FindProgram(program), args);
    return result.exitCode == 0;
}

} // namespace

bool TestBroker::MakeCertificates(const std::filesystem::path& dir, const std::string& name) {
    const std::string d = dir.string() + "/";
    WriteFileBytes(dir / "server.ext", "subjectAltName=DNS:localhost,IP:127.0.0.1\n");
    const std::vector<std::string> ec = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                         "-nodes"};
    std::vector<std::string> ca = {"req", "-x509", "-days", "2", "-subj", "/CN=" + name};
    ca.insert(ca.end(), ec.begin(), ec.end());
    ca.insert(ca.end(), {"-keyout", d + "ca.key", "-out", d + "ca.pem"});
    std::vector<std::string> request = {"req", "-subj", "/CN=localhost"};
    request.insert(request.end(), ec.begin(), ec.end());
    request.insert(request.end(), {"-keyout", d + "server.key", "-out", d + "server.csr"});
    return Run("openssl", ca) && Run("openssl", request) &&
           Run("openssl",
               {"x509", "-req", "-days", "2", "-in", d + "server.csr", "-CA", d + "ca.pem", "-CAkey",
                d + "ca.key", "-CAcreateserial", "-extfile", d + "server.ext", "-out", d + "server.pem"});
}

TestBroker::TestBroker(BrokerSetup setup) : setup_(std::move(setup)), port_(FreePort()) {
    std::string config = "listener " + std::to_string(port_) + " 127.0.0.1\n";
    config += "user root\n"; // stays the test's user; only a broker started by root would change it
    config += "persistence true\npersistence_location " + dir_.path().string() + "/\n";
    config += "max_queued_messages " + std::to_string(setup_.maxQueued) + "\n";
    config += "log_dest file " + (dir_ / "mosquitto.log").string() + "\n";
    if (!setup_.user.empty()) {
        const std::string passwords = (dir_ / "passwords").string();
        Run("mosquitto_passwd", {"-b", "-c", passwords, setup_.user, setup_.password});
        config += "allow_anonymous false\npassword_file " + passwords + "\n";
    } else {
        config += "allow_anonymous true\n";
    }
    if (setup_.tls) {
        MakeCertificates(dir_.path(), "Terrix test authority");
        config += "cafile " + CaFile().string() + "\ncertfile " + (dir_ / "server.pem").string() +
                  "\nkeyfile " + (dir_ / "server.key").string() + "\n";
    }
    WriteFileBytes(dir_ / "mosquitto.conf", config);
}

TestBroker::~TestBroker() {
    Stop();
}

bool TestBroker::Start() {
    Stop();
    process_ = std::make_unique<LoggedProcess>(
        "mosquitto", std::vector<std::string>{"-c", (dir_ / "mosquitto.conf").string()}, dir_ / "output.log");
    // Up once it takes connections; a broker that has ended (a refused configuration) never will.
    return WaitUntil([&] { return process_->WaitExit(0) != -1 || Accepts(port_); }, 10'000) && Accepts(port_);
}

void TestBroker::Stop() {
    if (process_) {
        process_->Stop();
        process_.reset();
    }
}

std::string TestBroker::Url(const std::string& prefix) const {
    return std::string(setup_.tls ? "mqtts://" : "mqtt://") + (setup_.user.empty() ? "" : setup_.user + "@") +
           (setup_.tls ? "localhost" : "127.0.0.1") + ":" + std::to_string(port_) + "/" + prefix;
}

std::string TestBroker::Log() const {
    return ReadFileBytes(dir_ / "mosquitto.log") + ReadFileBytes(dir_ / "output.log");
}

BrokerOptions TestBroker::ClientOptions(const std::string& prefix) const {
    BrokerOptions options;
    options.url = *ParseBrokerUrl(Url(prefix), nullptr);
    if (!setup_.password.empty()) {
        options.password = setup_.password;
    }
    if (setup_.tls) {
        options.caFile = CaFile().string();
    }
    return options;
}

TestSubscriber::TestSubscriber(const TestBroker& broker, std::string clientId, std::string filter)
    : options_(broker.ClientOptions()), filter_(std::move(filter)) {
    options_.clientId = std::move(clientId);
    MqttLink link(options_, {}, std::nullopt, true);
    std::string error;
    if (link.Connect(std::chrono::seconds(10), {}, &error) &&
        link.Subscribe(filter_, std::chrono::seconds(10))) {
        link.Disconnect();
    }
}

std::vector<std::pair<std::string, std::string>> TestSubscriber::Receive(size_t count, int timeoutMs) {
    std::vector<std::pair<std::string, std::string>> messages;
    MqttHandlers handlers;
    handlers.message = [&](std::string_view topic, std::string_view payload) {
        messages.emplace_back(std::string(topic), std::string(payload));
    };
    MqttLink link(options_, std::move(handlers), std::nullopt, true);
    std::string error;
    if (!link.Connect(std::chrono::seconds(10), {}, &error)) {
        return messages;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (messages.size() < count && std::chrono::steady_clock::now() < deadline && link.Loop(50)) {
    }
    link.Disconnect();
    return messages;
}

} // namespace terrix::test
