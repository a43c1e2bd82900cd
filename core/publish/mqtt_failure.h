#pragma once
// The kinds of failure of a broker connection, so that a front end can word them in its own language.

namespace terrix {

// What kind of failure ended a connection or an attempt, for a front end that words it itself.
enum class MqttFailure {
    kNone,
    kSettings,      // the address or a file that the settings name cannot be used
    kHostNotFound,  // the host name does not resolve
    kRefused,       // nothing accepts connections at that address and port
    kNotAuthorised, // the broker refused the login
    kTls,           // TLS files unusable or the handshake failed
    kNoAnswer,      // no answer in time
    kLost,          // the connection went after it was made
    kStopped,       // the owner stopped the attempt
    kOther,
};

// The kind of a libmosquitto result code; `osError` is errno at the failure.
MqttFailure MqttFailureOf(int code, int osError);

} // namespace terrix
