#pragma once

#include <functional>

#include "component/HostServices.h"

namespace xel {

// Runs some writes as one transaction on the host's connection, fetched from the session anew for
// every call: committed when the writes end normally; rolled back when they or the commit fail,
// the failure then going on to the caller unchanged. A failing begin leaves nothing to undo.
void EnTransaccion(const Publico& publico, const std::function<void()>& escrituras);

}  // namespace xel
