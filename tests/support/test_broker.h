#pragma once
// A Mosquitto broker of the test's own: started on a free loopback port with a configuration written into a
// temporary folder (never the system's service), optionally with a login or TLS with a certificate
// authority made for the test. Sessions and queued messages survive a restart (persistence in the folder).

#include "core/publish/broker_options.h"
#include "support/logged_process.h"
#include "support/temp_dir.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace terrix::test {

struct BrokerSetup {
    std::string user; // with a password: anonymous clients are refused
    std::string password;
    bool tls = false;
    int maxQueued = 0; // messages kept for an absent subscriber; 0: no limit
};

class TestBroker {
public:
    explicit TestBroker(BrokerSetup setup = {});
    ~TestBroker();

    // Starts the broker (again, on the same port) and waits until it accepts connections.
    bool Start();
    void Stop();
    uint16_t Port() const { return port_; }
    // mqtt://127.0.0.1:<port>/<prefix>, or mqtts://localhost:<port>/<prefix> with TLS (the certificate names
    // localhost).
    std::string Url(const std::string& prefix = "fleet") const;
    std::filesystem::path CaFile() const { return dir_ / "ca.pem"; }
    const TempDir& Dir() const { return dir_; }
    std::string Log() const;
    // Options for a client of the test (the login and CA of the setup).
    BrokerOptions ClientOptions(const std::string& prefix = "fleet") const;

    // Makes a certificate authority and a server certificate for localhost in `dir` (ca.pem, server.pem,
    // server.key); `name` distinguishes authorities. False when openssl failed.
    static bool MakeCertificates(const std::filesystem::path& dir, const std::string& name);

private:
    BrokerSetup setup_;
    TempDir dir_;
    uint16_t port_ = 0;
    std::unique_ptr<LoggedProcess> process_;
};

// A client that keeps its session at the broker: subscribed once at creation, it gets every message
// published meanwhile when it receives (as a collector would).
class TestSubscriber {
public:
    TestSubscriber(const TestBroker& broker, std::string clientId, std::string filter);
    // Connects and takes the messages (topic, payload) until `count` have come or `timeoutMs` passed.
    std::vector<std::pair<std::string, std::string>> Receive(size_t count, int timeoutMs);

private:
    BrokerOptions options_;
    std::string filter_;
};

} // namespace terrix::test
