// Once-only initialisation that needs no static constructor.
//
// A OnceFlag is constant-initialised (zero), so it is ready even in a module
// whose start-up code never ran, such as an executable whose exports another
// program loaded. RunOnce calls `init` until one call succeeds; callers that
// arrive while a call is running wait for it. A failed call (one that
// returns false or throws) leaves the flag unset, so a later RunOnce tries
// again; the exception goes on to the caller whose call threw.
#pragma once

#include <atomic>

namespace velmora {

struct OnceFlag {
    std::atomic<int> state{0};
};

// Returns true when the initialisation has succeeded (now or before).
bool RunOnce(OnceFlag& flag, bool (*init)(void* context), void* context);

}  // namespace velmora
