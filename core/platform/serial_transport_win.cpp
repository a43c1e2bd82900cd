#include "core/platform/serial_transport.h"

#include "core/platform/win_util.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <windows.h>
// After windows.h:
#include <setupapi.h>

namespace terrix {

namespace {

HANDLE AsHandle(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

// The errno code that the messages and exit statuses are built on. A COM port that another program holds
// answers "access denied" or a sharing violation; the modem lines of a port without them (a pseudo-terminal
// under Wine, some virtual ports) answer "not supported", which is what ENOTTY means on a Linux pty.
uint32_t ErrnoOfOpen(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_UNIT:
    case ERROR_DEV_NOT_EXIST:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EBUSY;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
        return ENOTTY;
    case ERROR_INVALID_PARAMETER:
        return EINVAL;
    default:
        return EIO;
    }
}

// Once the port is open, a refused read or write means the device went away (a USB adapter pulled out
// answers "access denied", "bad command", "device not connected" or "operation aborted"): none of these
// heals on this handle.
bool IsGoneError(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_OPERATION_ABORTED:
    case ERROR_INVALID_HANDLE:
    case ERROR_BROKEN_PIPE:
    case ERROR_NOT_READY:
        return true;
    default:
        return false;
    }
}

// "COM7" → "\\.\COM7": only COM1..COM9 are reachable without the device namespace prefix, so every
// number gets it. Any other name is used as given.
std::string DeviceName(const std::string& path) {
    if (path.size() > 3 && (path[0] == 'C' || path[0] == 'c') && (path[1] == 'O' || path[1] == 'o') &&
        (path[2] == 'M' || path[2] == 'm')) {
        bool digits = true;
        for (size_t i = 3; i < path.size(); ++i) {
            digits = digits && std::isdigit(static_cast<unsigned char>(path[i])) != 0;
        }
        if (digits) {
            return "\\\\.\\" + path;
        }
    }
    return path;
}

// Writes line settings. A pseudo-terminal behind Wine's serial driver has no wire and drops the parity
// bits, so the driver reports an invalid parameter although everything that matters took effect: the
// settings are read back then and judged by the speed and the byte size.
bool ApplyLineSettings(HANDLE handle, DCB& wanted) {
    if (SetCommState(handle, &wanted)) {
        return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_INVALID_PARAMETER) {
        return false;
    }
    DCB actual{};
    actual.DCBlength = sizeof(actual);
    if (!GetCommState(handle, &actual)) {
        return false;
    }
    if (actual.BaudRate != wanted.BaudRate || actual.ByteSize != wanted.ByteSize) {
        SetLastError(error);
        return false;
    }
    return true;
}

bool ConfigureLine(HANDLE handle, uint32_t baud) {
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(handle, &dcb)) {
        return false;
    }
    // Only what the bus needs changes; the driver's other flags stay as it reports them.
    dcb.BaudRate = baud;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.ByteSize = 8;
    dcb.Parity = ODDPARITY;
    dcb.StopBits = TWOSTOPBITS;
    if (!ApplyLineSettings(handle, dcb)) {
        return false;
    }
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(handle, &timeouts)) {
        return false;
    }
    // The read time-out rule of the bus layer, kept by the driver: 1 ms between two bytes, 10 ms + 2 ms per
    // requested byte in total; writes never time out.
    timeouts.ReadIntervalTimeout = 1;
    timeouts.ReadTotalTimeoutMultiplier = 2;
    timeouts.ReadTotalTimeoutConstant = 10;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 0;
    return SetCommTimeouts(handle, &timeouts) && SetupComm(handle, 1024, 0);
}

} // namespace

std::unique_ptr<SerialTransport> SerialTransport::Open(const std::string& path, uint32_t baud,
                                                       uint32_t& error) {
    error = 0;
    // Not shared: a second program (or a second copy of this one) is refused while the port is ours.
    const HANDLE handle = CreateFileA(DeviceName(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = ErrnoOfOpen(GetLastError());
        return nullptr;
    }
    if (GetFileType(handle) != FILE_TYPE_CHAR) {
        CloseHandle(handle);
        error = ENOTTY;
        return nullptr;
    }
    if (!ConfigureLine(handle, baud)) {
        error = ErrnoOfOpen(GetLastError());
        CloseHandle(handle);
        return nullptr;
    }
    return std::unique_ptr<SerialTransport>(
        new SerialTransport(reinterpret_cast<std::intptr_t>(handle), path, baud));
}

SerialTransport::~SerialTransport() {
    CloseHandle(AsHandle(native_));
}

bool SerialTransport::Fail() {
    const DWORD error = GetLastError();
    if (IsGoneError(error)) {
        gone_ = true;
        lastError_ = EIO;
    } else {
        lastError_ = ErrnoOfOpen(error);
    }
    return false;
}

bool SerialTransport::Write(std::span<const uint8_t> bytes, size_t& written) {
    written = 0;
    while (written < bytes.size()) {
        DWORD n = 0;
        if (!WriteFile(AsHandle(native_), bytes.data() + written, static_cast<DWORD>(bytes.size() - written),
                       &n, nullptr)) {
            return Fail();
        }
        if (n == 0) {
            break;
        }
        written += n;
    }
    return true;
}

bool SerialTransport::Read(std::span<uint8_t> buffer, size_t& got) {
    got = 0;
    if (buffer.empty()) {
        return true;
    }
    // One call: the driver ends it by the time-outs set when opening.
    DWORD n = 0;
    if (!ReadFile(AsHandle(native_), buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr)) {
        return Fail();
    }
    got = n;
    return true;
}

bool SerialTransport::Purge() {
    if (!PurgeComm(AsHandle(native_), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)) {
        return Fail();
    }
    return true;
}

bool SerialTransport::PurgeInput() {
    if (!PurgeComm(AsHandle(native_), PURGE_RXABORT | PURGE_RXCLEAR)) {
        return Fail();
    }
    return true;
}

bool SerialTransport::SetBaud(uint32_t baud) {
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(AsHandle(native_), &dcb)) {
        return Fail();
    }
    dcb.BaudRate = baud;
    if (!ApplyLineSettings(AsHandle(native_), dcb)) {
        return Fail();
    }
    baud_ = baud;
    return true;
}

bool SerialTransport::SetModemLine(int line, bool on) {
    const DWORD function = line == SETRTS ? (on ? SETRTS : CLRRTS) : (on ? SETDTR : CLRDTR);
    if (!EscapeCommFunction(AsHandle(native_), function)) {
        return Fail();
    }
    return true;
}

bool SerialTransport::SetRts(bool on) {
    return SetModemLine(SETRTS, on);
}
bool SerialTransport::SetDtr(bool on) {
    return SetModemLine(SETDTR, on);
}

bool SerialTransport::GetModemStatus(bool& cts, bool& dsr) {
    DWORD status = 0;
    if (!GetCommModemStatus(AsHandle(native_), &status)) {
        return Fail();
    }
    cts = (status & MS_CTS_ON) != 0;
    dsr = (status & MS_DSR_ON) != 0;
    return true;
}

std::string DefaultSerialDevice(int portNumber) {
    return "COM" + std::to_string(portNumber);
}

std::vector<std::string> ListSerialPorts() {
    std::vector<std::string> ports;
    HKEY key = nullptr;
    // Every serial port driver registers its ports here, as the value data ("COM3"); value names are the
    // drivers' own device names.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return ports;
    }
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameSize = sizeof(name);
        char data[256];
        DWORD dataSize = sizeof(data) - 1;
        DWORD type = 0;
        const LONG result = RegEnumValueA(key, index, name, &nameSize, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        data[dataSize] = '\0';
        if (data[0] != '\0') {
            ports.emplace_back(data);
        }
    }
    RegCloseKey(key);
    // COM2 before COM10.
    auto number = [](const std::string& port) {
        return std::atoi(port.c_str() + std::min<size_t>(3, port.size()));
    };
    std::sort(ports.begin(), ports.end(), [&](const std::string& a, const std::string& b) {
        return number(a) != number(b) ? number(a) < number(b) : a < b;
    });
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    return ports;
}

namespace {

// The ports class of the device manager, {4D36E978-E325-11CE-BFC1-08002BE10318} (GUID_DEVCLASS_PORTS).
constexpr GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

std::wstring DeviceText(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t text[512] = {};
    DWORD type = 0;
    if (!::SetupDiGetDeviceRegistryPropertyW(devices, &device, property, &type, reinterpret_cast<BYTE*>(text),
                                             sizeof text - sizeof text[0], nullptr) ||
        type != REG_SZ) {
        return {};
    }
    return text;
}

// The "PortName" a ports-class device was given (COM3), from its device key.
std::wstring DevicePortName(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    const HKEY key = ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) {
        return {};
    }
    wchar_t name[64] = {};
    DWORD size = sizeof name - sizeof name[0];
    DWORD type = 0;
    const LONG result =
        ::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::wstring(name) : std::wstring();
}

} // namespace

std::vector<SerialPortDescription> DescribeSerialPorts() {
    std::vector<SerialPortDescription> ports;
    for (std::string& name : ListSerialPorts()) {
        ports.push_back({std::move(name), {}, {}});
    }
    // The registry's list says which ports exist; the device manager knows what they are. Ports that only
    // the registry knows (virtual ones, Wine's) keep empty descriptions.
    const HDEVINFO devices = ::SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return ports;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const std::string portName = Utf8(DevicePortName(devices, device));
        for (SerialPortDescription& port : ports) {
            if (!portName.empty() && _stricmp(port.name.c_str(), portName.c_str()) == 0) {
                port.description = Utf8(DeviceText(devices, device, SPDRP_FRIENDLYNAME));
                if (port.description.empty()) {
                    port.description = Utf8(DeviceText(devices, device, SPDRP_DEVICEDESC));
                }
                port.manufacturer = Utf8(DeviceText(devices, device, SPDRP_MFG));
            }
        }
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return ports;
}

} // namespace terrix
