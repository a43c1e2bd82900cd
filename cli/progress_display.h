#pragma once
// Progress of scans and collision resolution on standard error: a live bar on a terminal, plain lines
// otherwise, nothing with --quiet. Ctrl+C stops the operation at its next step.

#include "cli/cli_context.h"
#include "core/busops/progress.h"

namespace terrix::cli {

ProgressCallback MakeProgressDisplay(CliContext& context, const char* activity);
// Ends a live bar's line.
void FinishProgressDisplay(CliContext& context);

} // namespace terrix::cli
