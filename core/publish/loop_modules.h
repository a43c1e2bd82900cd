#pragma once
// The modules of a bound measuring loop whose records are published: every slot with a value store, with
// the directory its files are in.

#include "core/circuit/meas_loop.h"
#include "core/publish/publisher.h"

#include <vector>

namespace terrix {

std::vector<PublishedModule> PublishedModulesOf(const CMeasLoop& loop);

} // namespace terrix
