#include "sim/pty_server.h"

#include "core/platform/clock.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace terrix::sim {

namespace {

constexpr uint64_t kPollSliceUs = 50000;
constexpr uint64_t kStaleFrameUs = 50000;

uint32_t BaudOfSpeed(speed_t speed) {
    switch (speed) {
    case B300:
        return 300;
    case B600:
        return 600;
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

std::string Errno(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

std::unique_ptr<PtyServer> PtyServer::Create(std::shared_ptr<VirtualBus> bus, std::string& error) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = Errno("posix_openpt");
        return nullptr;
    }
    auto fail = [&](const char* what, int slave = -1) -> std::unique_ptr<PtyServer> {
        error = Errno(what);
        if (slave >= 0) {
            ::close(slave);
        }
        ::close(master);
        return nullptr;
    };
    if (::grantpt(master) != 0) {
        return fail("grantpt");
    }
    if (::unlockpt(master) != 0) {
        return fail("unlockpt");
    }
    char name[128] = {};
    if (::ptsname_r(master, name, sizeof name) != 0) {
        return fail("ptsname");
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        return fail("open slave");
    }
    // Raw, and in the bus's byte format at 9600 baud until the PC sets its own: no echo, no line editing
    // that would keep request bytes from the server.
    termios tio{};
    if (::tcgetattr(slave, &tio) != 0) {
        return fail("tcgetattr", slave);
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CS8 | PARENB | PARODD | CSTOPB | CLOCAL | CREAD;
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    if (::tcsetattr(slave, TCSANOW, &tio) != 0) {
        return fail("tcsetattr", slave);
    }
    // A reply that the PC never reads must not block the server: writes that do not fit are dropped.
    const int flags = ::fcntl(master, F_GETFL);
    if (flags < 0 || ::fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) {
        return fail("fcntl", slave);
    }
    return std::unique_ptr<PtyServer>(new PtyServer(std::move(bus), master, slave, name));
}

PtyServer::PtyServer(std::shared_ptr<VirtualBus> bus, int master, int slave, std::string slavePath)
    : bus_(std::move(bus)), master_(master), slave_(slave), slavePath_(std::move(slavePath)),
      startUs_(SystemClock::Instance().NowUs()) {}

PtyServer::~PtyServer() {
    if (!linkPath_.empty()) {
        char target[256] = {};
        const ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
        // Only our own link goes; somebody may have pointed it elsewhere meanwhile.
        if (n > 0 && slavePath_ == std::string(target, static_cast<size_t>(n))) {
            ::unlink(linkPath_.c_str());
        }
    }
    ::close(slave_);
    ::close(master_);
}

bool PtyServer::MakeLink(const std::string& linkPath, std::string& error) {
    struct stat st {};
    if (::lstat(linkPath.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = linkPath + " exists and is not a symbolic link; it is left alone";
            return false;
        }
        if (::unlink(linkPath.c_str()) != 0) {
            error = Errno(("cannot replace " + linkPath).c_str());
            return false;
        }
    }
    if (::symlink(slavePath_.c_str(), linkPath.c_str()) != 0) {
        error = Errno(("cannot create link " + linkPath).c_str());
        return false;
    }
    linkPath_ = linkPath;
    return true;
}

void PtyServer::SetTrace(std::ostream* out) {
    std::lock_guard lock(traceMutex_);
    trace_ = out;
}

void PtyServer::Trace(uint64_t nowUs, const char* what, std::span<const uint8_t> bytes) {
    std::lock_guard lock(traceMutex_);
    if (!trace_ || bytes.empty()) {
        return;
    }
    const uint64_t t = nowUs - startUs_;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%llu.%06llu", static_cast<unsigned long long>(t / 1000000u),
                  static_cast<unsigned long long>(t % 1000000u));
    std::string line = std::string(stamp) + " " + what;
    char hex[4];
    for (const uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    *trace_ << line << '\n';
    trace_->flush(); // a killed simulator still leaves its trace
}

uint32_t PtyServer::LineBaud() const {
    // On Linux the master reports the line settings that the slave's user made.
    termios tio{};
    if (::tcgetattr(master_, &tio) != 0) {
        return 0;
    }
    return BaudOfSpeed(::cfgetospeed(&tio));
}

void PtyServer::Send(uint64_t nowUs, std::span<const uint8_t> bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break; // the PC's input queue is full: the rest is lost, as on an overrun line
        }
        sent += static_cast<size_t>(n);
    }
    Trace(nowUs, "BUS->PC", bytes.first(sent));
}

void PtyServer::Serve(const std::atomic<bool>& stop) {
    FrameAssembler assembler(kStaleFrameUs);
    struct Pending {
        uint64_t dueUs;
        std::vector<uint8_t> bytes;
    };
    std::deque<Pending> pending;
    Clock& clock = SystemClock::Instance();
    uint8_t buffer[512];
    while (!stop.load()) {
        uint64_t now = clock.NowUs();
        while (!pending.empty() && pending.front().dueUs <= now) {
            Send(now, pending.front().bytes);
            pending.pop_front();
        }
        uint64_t waitUs = kPollSliceUs;
        if (!pending.empty()) {
            waitUs = std::min(waitUs, pending.front().dueUs - now);
        }
        pollfd pfd{master_, POLLIN, 0};
        const timespec timeout{static_cast<time_t>(waitUs / 1000000u),
                               static_cast<long>((waitUs % 1000000u) * 1000u)};
        const int ready = ::ppoll(&pfd, 1, &timeout, nullptr);
        if (ready <= 0 || (pfd.revents & POLLIN) == 0) {
            if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR)) != 0) {
                clock.SleepUntilUs(clock.NowUs() + 10000); // nobody on the line; do not spin
            }
            continue;
        }
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno != EINTR && errno != EAGAIN) {
                clock.SleepUntilUs(clock.NowUs() + 10000);
            }
            continue;
        }
        now = clock.NowUs();
        const uint32_t baud = LineBaud();
        const auto requests = assembler.Feed(std::span<const uint8_t>(buffer, static_cast<size_t>(n)), now);
        Trace(now, "DROPPED", assembler.TakeDropped());
        for (const Request& request : requests) {
            Trace(now, ("PC->BUS @" + std::to_string(baud) + ":").c_str(), request.raw);
            auto reply = bus_->Deliver(request, baud, now);
            if (!reply) {
                continue;
            }
            uint64_t due = now + uint64_t{reply->delayMs} * 1000u;
            if (!pending.empty()) {
                due = std::max(due, pending.back().dueUs);
            }
            if (due <= now && pending.empty()) {
                Send(now, reply->bytes); // at once: the PC reads the header right after its send wait
            } else {
                pending.push_back({due, std::move(reply->bytes)});
            }
        }
    }
}

} // namespace terrix::sim
