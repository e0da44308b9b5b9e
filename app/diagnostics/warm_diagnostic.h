#pragma once
// "--warm-diagnostic": prepared editor processes started as the resident
// starts them, five with a frozen and five with a live capture, each checked
// to wait hidden and idle until it is activated, then timed from the
// activation request to its first painted frame, into
// "target/warm-editor-diagnostics.json".

#include "core/base/result.h"

namespace glimmerly {

Status run_warm_diagnostic();

}  // namespace glimmerly
