#include "base/run_once.h"

#include <thread>

namespace velmora {
namespace {
constexpr int kUnset = 0;
constexpr int kRunning = 1;
constexpr int kDone = 2;
}  // namespace

bool RunOnce(OnceFlag& flag, bool (*init)(void* context), void* context) {
    for (;;) {
        int state = flag.state.load(std::memory_order_acquire);
        if (state == kDone) return true;
        if (state == kUnset &&
            flag.state.compare_exchange_strong(state, kRunning, std::memory_order_acq_rel)) {
            bool ok = false;
            try {
                ok = init(context);
            } catch (...) {
                // A throw is a failed call: the next caller tries again
                // instead of waiting for a call that will never end.
                flag.state.store(kUnset, std::memory_order_release);
                throw;
            }
            flag.state.store(ok ? kDone : kUnset, std::memory_order_release);
            return ok;
        }
        // Another thread is initialising; it takes microseconds.
        std::this_thread::yield();
    }
}

}  // namespace velmora
