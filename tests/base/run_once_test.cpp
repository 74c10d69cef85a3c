// RunOnce: one successful initialisation, and another try after a failed or
// throwing one.
#include "base/run_once.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <thread>

namespace {

// <chrono> itself does not build with the GBK execution character set; its
// duration types come with <future>.
constexpr std::chrono::seconds kPatience{10};

struct Attempts {
    int calls = 0;
    int failFirst = 0;   // this many calls return false ...
    int throwFirst = 0;  // ... or, before those, throw
};

bool Initialise(void* context) {
    Attempts& attempts = *static_cast<Attempts*>(context);
    const int call = ++attempts.calls;
    if (call <= attempts.throwFirst) throw std::runtime_error("initialiser failed");
    return call > attempts.throwFirst + attempts.failFirst;
}

TEST(RunOnceTest, SucceedsOnceAndThenOnlyAnswers) {
    velmora::OnceFlag flag;
    Attempts attempts;
    EXPECT_TRUE(velmora::RunOnce(flag, Initialise, &attempts));
    EXPECT_TRUE(velmora::RunOnce(flag, Initialise, &attempts));
    EXPECT_EQ(attempts.calls, 1);
}

TEST(RunOnceTest, AFailedCallLeavesTheNextOneToTryAgain) {
    velmora::OnceFlag flag;
    Attempts attempts;
    attempts.failFirst = 2;
    EXPECT_FALSE(velmora::RunOnce(flag, Initialise, &attempts));
    EXPECT_FALSE(velmora::RunOnce(flag, Initialise, &attempts));
    EXPECT_TRUE(velmora::RunOnce(flag, Initialise, &attempts));
    EXPECT_TRUE(velmora::RunOnce(flag, Initialise, &attempts));
    EXPECT_EQ(attempts.calls, 3);
}

TEST(RunOnceTest, AThrowingCallLeavesTheNextOneToTryAgain) {
    velmora::OnceFlag flag;
    Attempts attempts;
    attempts.throwFirst = 1;
    EXPECT_THROW(velmora::RunOnce(flag, Initialise, &attempts), std::runtime_error);

    // The next caller runs on a thread of its own, so that a flag left
    // "running" fails the test instead of hanging it.
    std::promise<bool> done;
    std::future<bool> result = done.get_future();
    std::thread caller([&] { done.set_value(velmora::RunOnce(flag, Initialise, &attempts)); });
    if (result.wait_for(kPatience) != std::future_status::ready) {
        ADD_FAILURE() << "the caller after the exception is still waiting";
        // Release it from the stuck flag (zero is the unset state) so that it
        // can be joined.
        flag.state.store(0);
    }
    caller.join();
    EXPECT_TRUE(result.get());
    EXPECT_EQ(attempts.calls, 2);
    EXPECT_TRUE(velmora::RunOnce(flag, Initialise, &attempts));
    EXPECT_EQ(attempts.calls, 2);
}

}  // namespace
