#include "sim/scenario.h"

#include "sim/virtual_module.h"
#include "sim/wire_format.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <stdexcept>

namespace terrix::sim {

namespace {

using nlohmann::json;

constexpr size_t kMaxNameLength = 238; // 15 header bytes + name + NUL must fit into one reply

struct ScenarioError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One JSON object being read: every key is looked up through it, so that a key nobody asked for (a typo)
// is reported with its place instead of being ignored.
class Object {
public:
    Object(const json& j, std::string path) : j_(j), path_(std::move(path)) {
        if (!j_.is_object()) {
            Fail(path_, "must be an object");
        }
    }

    [[noreturn]] static void Fail(const std::string& where, const std::string& what) {
        throw ScenarioError(where + ": " + what);
    }

    const std::string& Path() const { return path_; }
    std::string KeyPath(const std::string& key) const { return path_ + "." + key; }

    const json* Find(const std::string& key) {
        seen_.insert(key);
        const auto it = j_.find(key);
        return it == j_.end() || it->is_null() ? nullptr : &*it;
    }

    int64_t Int(const std::string& key, int64_t min, int64_t max, int64_t fallback) {
        const json* v = Find(key);
        return v ? IntValue(*v, KeyPath(key), min, max) : fallback;
    }

    static int64_t IntValue(const json& v, const std::string& where, int64_t min, int64_t max) {
        int64_t n = 0;
        if (v.is_number_integer()) {
            n = v.is_number_unsigned() && v.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)
                    ? INT64_MAX
                    : v.get<int64_t>();
        } else if (v.is_string() && v.get<std::string>().rfind("0x", 0) == 0) {
            // Hexadecimal as text, for values usually written that way (firmware versions).
            const std::string s = v.get<std::string>();
            char* end = nullptr;
            errno = 0;
            const unsigned long long parsed = std::strtoull(s.c_str() + 2, &end, 16);
            if (s.size() == 2 || *end != '\0' || errno != 0 ||
                parsed > static_cast<unsigned long long>(INT64_MAX)) {
                Fail(where, "'" + s + "' is not a hexadecimal number");
            }
            n = static_cast<int64_t>(parsed);
        } else {
            Fail(where, "must be an integer");
        }
        if (n < min || n > max) {
            Fail(where, "must be in " + std::to_string(min) + ".." + std::to_string(max) + ", not " +
                            std::to_string(n));
        }
        return n;
    }

    double Number(const std::string& key, double fallback,
                  double limit = std::numeric_limits<double>::max()) {
        const json* v = Find(key);
        if (!v) {
            return fallback;
        }
        return NumberValue(*v, KeyPath(key), limit);
    }

    static double NumberValue(const json& v, const std::string& where, double limit) {
        if (!v.is_number()) {
            Fail(where, "must be a number");
        }
        const double d = v.get<double>();
        if (!std::isfinite(d) || std::fabs(d) > limit) {
            Fail(where, "is out of range");
        }
        return d;
    }

    bool Bool(const std::string& key, bool fallback) {
        const json* v = Find(key);
        if (!v) {
            return fallback;
        }
        if (!v->is_boolean()) {
            Fail(KeyPath(key), "must be true or false");
        }
        return v->get<bool>();
    }

    std::string String(const std::string& key, const std::string& fallback) {
        const json* v = Find(key);
        if (!v) {
            return fallback;
        }
        if (!v->is_string()) {
            Fail(KeyPath(key), "must be a text");
        }
        return v->get<std::string>();
    }

    const json* Array(const std::string& key) {
        const json* v = Find(key);
        if (v && !v->is_array()) {
            Fail(KeyPath(key), "must be an array");
        }
        return v;
    }

    // Every key of the object must have been asked for.
    void Finish() const {
        for (const auto& [key, value] : j_.items()) {
            if (seen_.count(key) == 0) {
                Fail(path_, "unknown key '" + key + "'");
            }
        }
    }

private:
    const json& j_;
    std::string path_;
    std::set<std::string> seen_;
};

std::set<uint8_t> ReadCommandList(Object& o, const std::string& key) {
    std::set<uint8_t> out;
    if (const json* list = o.Array(key)) {
        for (size_t i = 0; i < list->size(); ++i) {
            out.insert(static_cast<uint8_t>(
                Object::IntValue((*list)[i], o.KeyPath(key) + "[" + std::to_string(i) + "]", 0, 255)));
        }
    }
    return out;
}

std::optional<SignalModel> ReadSignal(Object& parent, const std::string& key) {
    const json* v = parent.Find(key);
    if (!v) {
        return std::nullopt;
    }
    Object o(*v, parent.KeyPath(key));
    SignalModel s;
    // Physical quantities of a probe; the limits keep every sum of readings finite.
    constexpr double kLimit = 1e9;
    s.base = o.Number("base", 0, kLimit);
    s.amplitude = o.Number("amplitude", 0, kLimit);
    s.period = o.Number("period", 40, kLimit);
    s.noise = o.Number("noise", 0, kLimit);
    if (s.period != 0 && s.period < 1) {
        Object::Fail(o.KeyPath("period"), "must be 0 (no variation) or at least 1 measurement");
    }
    o.Finish();
    return s;
}

SimChannel ReadChannel(const json& j, const std::string& path, uint8_t index) {
    Object o(j, path);
    SimChannel c;
    c.analogConfig[0] = index;
    c.measurementCount = static_cast<uint32_t>(o.Int("count", 0, 99999, 0));
    c.zeroOffset = static_cast<int32_t>(o.Int("zeroOffset", -99999, 99999, 0));
    c.statusBit1 = o.Bool("statusBit1", false);
    if (const json* a = o.Find("analogConfig")) {
        Object ac(*a, o.KeyPath("analogConfig"));
        c.analogConfig[1] = static_cast<uint8_t>(ac.Int("filler1", 0, 255, 0));
        c.analogConfig[2] = static_cast<uint8_t>(ac.Int("rawVofsVd", 0, 255, 0));
        c.analogConfig[3] = static_cast<uint8_t>(ac.Int("nofsLow", 0, 255, 0));
        c.analogConfig[4] = static_cast<uint8_t>(ac.Int("nofsHigh", 0, 255, 0));
        c.analogConfig[5] = static_cast<uint8_t>(ac.Int("hasLinearisation", 0, 255, 0));
        c.analogConfig[6] = static_cast<uint8_t>(ac.Int("filler2", 0, 255, 0));
        ac.Finish();
    }
    if (const json* s = o.Find("sensor")) {
        Object so(*s, o.KeyPath("sensor"));
        // The mantissa of the wire format has 16 bits: values beyond about 3e40 cannot be sent.
        c.sensor.zeroOffset = so.Number("zeroOffset", 0, 1e30);
        c.sensor.resolution = so.Number("resolution", 0, 1e30);
        c.sensor.unitCode = static_cast<uint8_t>(so.Int("unit", 0, 255, 0));
        c.sensor.lsbMin = static_cast<int16_t>(so.Int("lsbMin", INT16_MIN, INT16_MAX, 0));
        c.sensor.lsbMax = static_cast<int16_t>(so.Int("lsbMax", INT16_MIN, INT16_MAX, 0));
        c.sensor.status = static_cast<uint8_t>(so.Int("status", 0, 255, 0));
        so.Finish();
    }
    c.signal = ReadSignal(o, "signal");
    o.Finish();
    return c;
}

// Calibrations are listed with their switch position (default: their place in the list); positions not
// listed hold ID 0 and zero coefficients.
void ReadCalibrations(const json& list, const std::string& path, bool material,
                      std::array<SimCalibration, kCalibrationCount>& out) {
    std::set<int64_t> positions;
    for (size_t i = 0; i < list.size(); ++i) {
        Object o(list[i], path + "[" + std::to_string(i) + "]");
        const int64_t position = o.Int("position", 0, kCalibrationCount - 1, static_cast<int64_t>(i));
        if (!positions.insert(position).second) {
            Object::Fail(o.KeyPath("position"), "position " + std::to_string(position) + " is listed twice");
        }
        SimCalibration& c = out[static_cast<size_t>(position)];
        c.id = static_cast<uint16_t>(o.Int("id", 0, 65535, 0));
        c.valid = o.Bool("valid", true);
        if (material && !c.valid) {
            Object::Fail(o.KeyPath("valid"), "only temperature calibrations can be marked invalid");
        }
        if (const json* coeffs = o.Array("coefficients")) {
            if (coeffs->size() != 6) {
                Object::Fail(o.KeyPath("coefficients"), "must hold the six coefficients c0..c5");
            }
            for (size_t k = 0; k < 6; ++k) {
                const double v = Object::NumberValue(
                    (*coeffs)[k], o.KeyPath("coefficients") + "[" + std::to_string(k) + "]", 1e30);
                c.raw[k] = static_cast<float>(material ? v / kMaterialScale[k] : v);
            }
        }
        o.Finish();
    }
}

ModuleState ReadModule(const json& j, const std::string& path) {
    Object o(j, path);
    ModuleState m;
    m.station = static_cast<uint8_t>(o.Int("station", 0, 252, 0));
    m.baud = static_cast<uint32_t>(o.Int("baud", 300, 115200, 9600));
    if (!IsModuleBaud(m.baud)) {
        Object::Fail(o.KeyPath("baud"), std::to_string(m.baud) + " is not a baud rate of the bus");
    }
    SimStationInfo& info = m.info;
    if (!o.Find("serialNo")) {
        Object::Fail(path, "'serialNo' is missing");
    }
    info.serialNo = static_cast<uint16_t>(o.Int("serialNo", 0, 65534, 0));
    info.moduleName = o.String("moduleName", "");
    if (info.moduleName.empty() || info.moduleName.size() > kMaxNameLength) {
        Object::Fail(o.KeyPath("moduleName"),
                     "must have 1.." + std::to_string(kMaxNameLength) + " characters");
    }
    info.moduleId = static_cast<uint8_t>(o.Int("moduleId", 0, 255, 0));
    info.firmwareVersion = static_cast<uint16_t>(o.Int("firmwareVersion", 0, 65535, 0));
    info.flag = static_cast<uint8_t>(o.Int("flag", 0, 255, 0));
    info.startupBaud = static_cast<uint16_t>(o.Int("startupBaud", 0, 65535, 96));
    info.timeOut = static_cast<uint16_t>(o.Int("timeOut", 0, 65535, 0));
    info.delayTime = static_cast<uint16_t>(o.Int("delayTime", 0, 65535, 0));
    info.responseTime = static_cast<uint16_t>(o.Int("responseTime", 0, 65535, 0));

    m.channels[0].analogConfig[0] = 0;
    m.channels[1].analogConfig[0] = 1;
    if (const json* channels = o.Array("channels")) {
        if (channels->size() > 2) {
            Object::Fail(o.KeyPath("channels"), "a module has at most two channels");
        }
        for (size_t c = 0; c < channels->size(); ++c) {
            m.channels[c] = ReadChannel((*channels)[c], o.KeyPath("channels") + "[" + std::to_string(c) + "]",
                                        static_cast<uint8_t>(c));
        }
    }
    if (const json* list = o.Array("materialCalibrations")) {
        ReadCalibrations(*list, o.KeyPath("materialCalibrations"), true, m.material);
    }
    // The key present (even as an empty list) means the module has temperature calibrations.
    if (const json* list = o.Array("temperatureCalibrations")) {
        m.hasTemperatureCalibrations = true;
        ReadCalibrations(*list, o.KeyPath("temperatureCalibrations"), false, m.temperature);
    }
    m.activeCalibration = static_cast<uint8_t>(o.Int("activeCalibration", 0, 15, 0));
    const double offset = o.Number("offset", 0);
    ScaledDecimal scaled;
    if (!ToScaledDecimal(offset, scaled)) {
        Object::Fail(o.KeyPath("offset"), "must be below 1000 in magnitude");
    }
    m.offsets[kDefaultOffsetSelector / 8] = {scaled.scale, scaled.mantissa};
    if (const json* p = o.Find("applicationParameters")) {
        Object po(*p, o.KeyPath("applicationParameters"));
        auto& block = m.applicationParameters;
        PutF32(block, 0, static_cast<float>(po.Number("offset", 0, 3e38)));
        PutU16(block, 4, static_cast<uint16_t>(po.Int("averaging", 0, 65535, 0)));
        PutU16(block, 6, static_cast<uint16_t>(po.Int("error66Delay", 0, 65535, 0)));
        block[8] = static_cast<uint8_t>(po.Int("queueFull", 0, 255, 0));
        block[9] = static_cast<uint8_t>(po.Int("queueEmpty", 0, 255, 0));
        po.Finish();
    }
    if (const json* h = o.Find("halt")) {
        Object ho(*h, o.KeyPath("halt"));
        m.haltBySignal = ho.Bool("signal", false);
        m.haltByCommand = ho.Bool("command", false);
        ho.Finish();
    }
    m.notImplemented = ReadCommandList(o, "notImplemented");
    m.settingsLock = o.Bool("settingsLock", true);
    m.continuous = o.Bool("continuous", false);
    m.measuringError = static_cast<uint8_t>(o.Int("measuringError", 0, 99, 0));
    if (const json* x = o.Find("xv")) {
        Object xo(*x, o.KeyPath("xv"));
        m.xv.temperature = ReadSignal(xo, "temperature");
        m.xv.errorFraction = static_cast<float>(xo.Number("errorFraction", 0, 1e30));
        m.xv.errorCode = static_cast<uint8_t>(xo.Int("errorCode", 0, 255, 0));
        m.xv.rejected = static_cast<uint16_t>(xo.Int("rejected", 0, 65535, 0));
        xo.Finish();
    }
    if (const json* f = o.Find("faults")) {
        Object fo(*f, o.KeyPath("faults"));
        ModuleFaults& faults = m.faults;
        faults.mute = fo.Bool("mute", false);
        faults.damagedHeader = fo.Bool("damagedHeader", false);
        faults.cutReplyTo = static_cast<int32_t>(fo.Int("cutReplyTo", -1, 1000, -1));
        faults.delayMs = static_cast<uint32_t>(fo.Int("delayMs", 0, 60000, 0));
        faults.fatalCount = static_cast<uint32_t>(fo.Int("fatalCount", 0, UINT32_MAX, 0));
        faults.busyCount = static_cast<uint32_t>(fo.Int("busyCount", 0, UINT32_MAX, 0));
        faults.status6 = ReadCommandList(fo, "status6");
        fo.Finish();
    }
    o.Finish();
    return m;
}

Scenario ReadScenario(const json& j) {
    Object o(j, "scenario");
    Scenario s;
    s.name = o.String("name", "");
    s.seed = static_cast<uint64_t>(o.Int("seed", 0, INT64_MAX, 1));
    s.cable = o.Bool("cable", true);
    const json* modules = o.Array("modules");
    if (!modules) {
        Object::Fail("scenario", "'modules' is missing");
    }
    for (size_t i = 0; i < modules->size(); ++i) {
        s.modules.push_back(ReadModule((*modules)[i], "modules[" + std::to_string(i) + "]"));
    }
    o.Finish();
    return s;
}

} // namespace

bool ParseScenario(std::string_view text, Scenario& out, std::string& error) {
    try {
        const json j = json::parse(text.begin(), text.end());
        out = ReadScenario(j);
        return true;
    } catch (const json::parse_error& e) {
        // The library's text names the byte offset; a line number is what an editor shows.
        const size_t offset = std::min<size_t>(e.byte, text.size());
        const auto line =
            1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n');
        error = "JSON syntax error near line " + std::to_string(line) + ": " + e.what();
    } catch (const ScenarioError& e) {
        error = e.what();
    } catch (const std::exception& e) {
        error = e.what();
    }
    return false;
}

bool LoadScenarioFile(const std::string& path, Scenario& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open scenario file " + path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        error = "cannot read scenario file " + path;
        return false;
    }
    std::string detail;
    if (!ParseScenario(text.str(), out, detail)) {
        error = "scenario file " + path + ": " + detail;
        return false;
    }
    return true;
}

std::shared_ptr<VirtualBus> BuildBus(const Scenario& scenario, std::optional<uint64_t> seed) {
    auto bus = std::make_shared<VirtualBus>(seed.value_or(scenario.seed));
    bus->SetCablePresent(scenario.cable);
    for (const ModuleState& m : scenario.modules) {
        bus->AddModule(m);
    }
    return bus;
}

Scenario DefaultScenario() {
    // Parsed once: tests build many buses from it.
    static const Scenario parsed = [] {
        Scenario s;
        std::string error;
        // The built-in text is checked by the tests; failing here would be a build mistake, not bad input.
        if (!ParseScenario(DefaultScenarioText(), s, error)) {
            throw std::logic_error("built-in scenario: " + error);
        }
        return s;
    }();
    return parsed;
}

ModuleState MakeProbe(uint8_t station, uint16_t serial, bool xv) {
    const Scenario defaults = DefaultScenario();
    for (const ModuleState& m : defaults.modules) {
        const bool isXv = m.info.moduleName == "PX-TAVIK2XV";
        if (isXv == xv && m.info.moduleName.rfind("PX-TAVIK2", 0) == 0) {
            ModuleState copy = m;
            copy.station = station;
            copy.info.serialNo = serial;
            return copy;
        }
    }
    throw std::logic_error("built-in scenario lacks a probe");
}

} // namespace terrix::sim
