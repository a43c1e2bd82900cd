#include "core/platform/serial_transport.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace terrix {

namespace {

// The termios speed constant of a baud rate, or 0 when the rate is not supported.
unsigned BaudConstant(uint32_t baud) {
    switch (baud) {
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return 0;
    }
}

// Applies line settings. A pseudo-terminal has no wire and drops the parity bits; glibc then reports EINVAL
// although everything that matters took effect, so the settings are read back and judged by the speed.
bool ApplyLineSettings(int fd, const termios& wanted, int when) {
    if (tcsetattr(fd, when, &wanted) == 0) {
        return true;
    }
    if (errno != EINVAL) {
        return false;
    }
    termios actual{};
    if (tcgetattr(fd, &actual) != 0) {
        return false;
    }
    if (cfgetospeed(&actual) != cfgetospeed(&wanted) ||
        (actual.c_cflag & CSIZE) != (wanted.c_cflag & CSIZE)) {
        errno = EINVAL;
        return false;
    }
    return true;
}

bool ConfigureLine(int fd, uint32_t baud) {
    const unsigned speed = BaudConstant(baud);
    if (speed == 0) {
        errno = EINVAL;
        return false;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CRTSCTS | HUPCL);
    tio.c_cflag |= CS8 | PARENB | PARODD | CSTOPB | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0) {
        return false;
    }
    return ApplyLineSettings(fd, tio, TCSANOW);
}

} // namespace

std::unique_ptr<SerialTransport> SerialTransport::Open(const std::string& path, uint32_t baud,
                                                       uint32_t& error) {
    error = 0;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = static_cast<uint32_t>(errno);
        return nullptr;
    }
    auto fail = [&](int code) -> std::unique_ptr<SerialTransport> {
        error = static_cast<uint32_t>(code);
        ::close(fd);
        return nullptr;
    };
    if (!isatty(fd)) {
        return fail(ENOTTY);
    }
    // The advisory lock keeps out other users even when they run as root, who may ignore TIOCEXCL.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    }
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL) {
        return fail(errno);
    }
    // O_NONBLOCK only served to open without waiting for a carrier; reads are timed with poll().
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return fail(errno);
    }
    if (!ConfigureLine(fd, baud)) {
        return fail(errno);
    }
    return std::unique_ptr<SerialTransport>(new SerialTransport(fd, path, baud));
}

SerialTransport::~SerialTransport() {
    if (native_ >= 0) {
        ::close(Descriptor());
    }
}

bool SerialTransport::Fail() {
    lastError_ = static_cast<uint32_t>(errno);
    // These come from a device that is no longer there; it never comes back on this descriptor.
    if (errno == EIO || errno == ENXIO || errno == ENODEV) {
        gone_ = true;
    }
    return false;
}

bool SerialTransport::Write(std::span<const uint8_t> bytes, size_t& written) {
    written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(Descriptor(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail();
        }
        if (n == 0) {
            break;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

bool SerialTransport::Read(std::span<uint8_t> buffer, size_t& got) {
    got = 0;
    if (buffer.empty()) {
        return true;
    }
    Clock& clock = GetClock();
    const uint64_t startUs = clock.NowUs();
    const uint64_t totalDeadlineUs = startUs + (10u + 2u * buffer.size()) * 1000u;
    // The gap allowed between two bytes is 1 ms after a character has had time to arrive: at 9600 baud a
    // character (12 bits) takes 1.25 ms on the wire, so a bare 1 ms would cut replies that are still coming.
    const uint64_t characterUs = baud_ > 0 ? (12u * 1000000u + baud_ - 1) / baud_ : 0;
    const uint64_t gapUs = 1000u + characterUs;
    uint64_t lastByteUs = 0;
    while (got < buffer.size()) {
        const uint64_t now = clock.NowUs();
        uint64_t deadline = totalDeadlineUs;
        if (got > 0 && lastByteUs + gapUs < deadline) {
            deadline = lastByteUs + gapUs;
        }
        if (now >= deadline) {
            break;
        }
        pollfd pfd{Descriptor(), POLLIN, 0};
        timespec timeout{};
        const uint64_t waitUs = deadline - now;
        timeout.tv_sec = static_cast<time_t>(waitUs / 1000000u);
        timeout.tv_nsec = static_cast<long>((waitUs % 1000000u) * 1000u);
        const int ready = ::ppoll(&pfd, 1, &timeout, nullptr);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail();
        }
        if (ready == 0) {
            continue; // the loop head decides whether a deadline has passed
        }
        if ((pfd.revents & POLLIN) == 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            // Hang-up: the adapter was pulled out or the other side of the pseudo-terminal closed. Treating
            // it as silence would let a scan run on to its end and report success with half a bus.
            errno = (pfd.revents & POLLNVAL) != 0 ? EBADF : EIO;
            gone_ = true;
            return Fail();
        }
        const ssize_t n = ::read(Descriptor(), buffer.data() + got, buffer.size() - got);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            return Fail();
        }
        if (n == 0 && (pfd.revents & POLLHUP) != 0) {
            errno = EIO; // end of file on a hung-up line: nothing will ever come
            return Fail();
        }
        if (n > 0) {
            got += static_cast<size_t>(n);
            lastByteUs = clock.NowUs();
        }
    }
    return true;
}

bool SerialTransport::Purge() {
    if (::tcflush(Descriptor(), TCIOFLUSH) != 0) {
        return Fail();
    }
    return true;
}

bool SerialTransport::PurgeInput() {
    if (::tcflush(Descriptor(), TCIFLUSH) != 0) {
        return Fail();
    }
    return true;
}

bool SerialTransport::SetBaud(uint32_t baud) {
    const unsigned speed = BaudConstant(baud);
    if (speed == 0) {
        lastError_ = EINVAL;
        return false;
    }
    termios tio{};
    if (tcgetattr(Descriptor(), &tio) != 0) {
        return Fail();
    }
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0 ||
        !ApplyLineSettings(Descriptor(), tio, TCSADRAIN)) {
        return Fail();
    }
    baud_ = baud;
    return true;
}

bool SerialTransport::SetModemLine(int line, bool on) {
    if (::ioctl(Descriptor(), on ? TIOCMBIS : TIOCMBIC, &line) != 0) {
        return Fail();
    }
    return true;
}

bool SerialTransport::SetRts(bool on) {
    return SetModemLine(TIOCM_RTS, on);
}
bool SerialTransport::SetDtr(bool on) {
    return SetModemLine(TIOCM_DTR, on);
}

bool SerialTransport::GetModemStatus(bool& cts, bool& dsr) {
    int status = 0;
    if (::ioctl(Descriptor(), TIOCMGET, &status) != 0) {
        return Fail();
    }
    cts = (status & TIOCM_CTS) != 0;
    dsr = (status & TIOCM_DSR) != 0;
    return true;
}

std::string DefaultSerialDevice(int portNumber) {
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

std::vector<std::string> ListSerialPorts() {
    namespace fs = std::filesystem;
    std::vector<std::string> ports;
    std::error_code ec;
    // The by-id names survive re-plugging into another socket; the kernel names of USB and ACM adapters
    // follow. The on-board ttyS nodes exist whether or not a UART is behind them, so they are not offered.
    for (const auto& entry : fs::directory_iterator("/dev/serial/by-id", ec)) {
        ports.push_back(entry.path().string());
    }
    std::vector<std::string> adapters;
    for (const auto& entry : fs::directory_iterator("/dev", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("ttyUSB") || name.starts_with("ttyACM")) {
            adapters.push_back(entry.path().string());
        }
    }
    std::sort(ports.begin(), ports.end());
    std::sort(adapters.begin(), adapters.end());
    ports.insert(ports.end(), adapters.begin(), adapters.end());
    return ports;
}

std::vector<SerialPortDescription> DescribeSerialPorts() {
    std::vector<SerialPortDescription> ports;
    for (std::string& name : ListSerialPorts()) {
        ports.push_back({std::move(name), {}, {}});
    }
    return ports;
}

} // namespace terrix
