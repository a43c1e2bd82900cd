#pragma once
// How the desktop program words a broker's answer, in the user's language: the sentence after a "Test" and
// the short phrase of the circuit window's publishing line.

#include "core/publish/mqtt_failure.h"

#include <QCoreApplication>
#include <QString>

#include <string>

namespace terrix {

class PublishTexts {
    Q_DECLARE_TR_FUNCTIONS(terrix::PublishTexts)
public:
    // A whole sentence: what happened at `where` ("host:port"), with the library's `detail` where the kind
    // alone does not say enough.
    static QString Outcome(MqttFailure failure, const std::string& where, const std::string& detail);
    // A few words for a status line: "connection refused", "not authorised", ...
    static QString Short(MqttFailure failure, const std::string& detail);
};

} // namespace terrix
