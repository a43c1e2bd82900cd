// terrix-cli send: one raw transaction, for diagnosing a module or the wiring.

#include "cli/cli_context.h"
#include "cli/hex_text.h"
#include "core/bus/bus_error.h"
#include "core/bus/bus_trace.h"
#include "core/bus/frame.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace terrix::cli {
namespace {

struct SendOptions {
    int station = -1;
    int command = -1;
    std::string data;
    int expect = -1; // -1: show whatever data the reply carries
};

// Keeps the frames of this one transaction and passes them on to the trace file, if there is one.
class FrameCapture final : public BusTraceObserver {
public:
    void OnFrame(const BusTraceEvent& event) override {
        (event.direction == BusTraceEvent::Direction::Sent ? sent : received) = event.bytes;
    }
    std::vector<uint8_t> sent;
    std::vector<uint8_t> received;
};

class ChainedObserver final : public BusTraceObserver {
public:
    ChainedObserver(BusTraceObserver& a, BusTraceObserver* b) : a_(a), b_(b) {}
    void OnFrame(const BusTraceEvent& event) override {
        a_.OnFrame(event);
        if (b_ != nullptr) {
            b_->OnFrame(event);
        }
    }

private:
    BusTraceObserver& a_;
    BusTraceObserver* b_;
};

int RunSend(CliContext& context, const SendOptions& opts, BusTraceObserver* fileTrace) {
    const auto data = ParseHex(opts.data);
    if (!data) {
        context.Fail(kExitUsage, "--data takes hexadecimal bytes, e.g. 01 or \"39 30 07\"");
        return context.exitCode;
    }
    if (data->size() > kMaxRequestData) {
        context.Fail(kExitUsage, "--data holds at most 254 bytes");
        return context.exitCode;
    }
    PortUser user;
    if (!context.OpenPort(user)) {
        return context.exitCode;
    }
    FrameCapture capture;
    ChainedObserver chain(capture, fileTrace);
    SetBusTraceObserver(&chain);
    const uint8_t station = static_cast<uint8_t>(opts.station);
    std::vector<uint8_t> buffer(opts.expect > 0 ? static_cast<size_t>(opts.expect) : 0);
    const bool ok = Transact(user.Port(), station, static_cast<uint8_t>(opts.command), *data,
                             static_cast<uint16_t>(buffer.size()), buffer);
    const bool sent = !capture.sent.empty();
    const uint16_t error = station == kBroadcastStation || !sent ? 0 : LastBusError();
    SetBusTraceObserver(fileTrace);
    user.Release();

    std::vector<uint8_t> reply = buffer;
    if (opts.expect < 0 && capture.received.size() > kHeaderSize + 1) {
        // The data block without the module's checksum byte.
        reply.assign(capture.received.begin() + kHeaderSize, capture.received.end() - 1);
    }
    const bool broadcast = station == kBroadcastStation;
    if (context.options.json) {
        nlohmann::json out;
        out["request"] = ToHex(capture.sent);
        out["broadcast"] = broadcast;
        out["ok"] = ok;
        if (!broadcast) {
            out["replyFrame"] = ToHex(capture.received);
            out["replyData"] = ToHex(reply);
            out["lastBusError"] = error;
            out["lastBusErrorText"] = error == 0 ? "" : BusErrorText(error);
        }
        std::cout << out.dump(2) << '\n';
    } else {
        std::cout << "Request:     " << ToHex(capture.sent) << '\n';
        if (broadcast) {
            std::cout << "Broadcast:   no reply is read\n";
        } else {
            std::cout << "Reply frame: " << (capture.received.empty() ? "(none)" : ToHex(capture.received)) << '\n'
                      << "Reply data:  " << ToHex(reply) << '\n'
                      << "LastBusError: " << error << (error == 0 ? "" : " (" + BusErrorText(error) + ")") << '\n';
        }
    }
    if (!sent) {
        context.Fail(kExitPort, "the request could not be written to " + context.DeviceName());
        return context.exitCode;
    }
    return ok ? kExitOk : kExitBus;
}

const CommandRegistration registration([](CLI::App& app, CliContext& context) {
    auto opts = std::make_shared<SendOptions>();
    CLI::App* sub = app.add_subcommand("send", "Send one request frame and show the reply");
    sub->add_option("--station", opts->station, "Station 0..252, or 255 for a broadcast")
        ->required()
        ->check(CLI::Range(0, 255));
    sub->add_option("--command", opts->command, "Command number 0..255")->required()->check(CLI::Range(0, 255));
    sub->add_option("--data", opts->data, "Request data as hexadecimal bytes");
    sub->add_option("--expect", opts->expect,
                    "Reply data length the reply check expects (default: show whatever the reply carries)")
        ->check(CLI::Range(0, 512));
    sub->callback([&context, opts] {
        if (opts->station > 252 && opts->station != 255) {
            context.Fail(kExitUsage, "--station must be 0..252 or 255");
            return;
        }
        context.exitCode = RunSend(context, *opts, context.TraceWriter());
    });
});

} // namespace
} // namespace terrix::cli
