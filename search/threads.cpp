// search/threads.cpp: the helper threads, their wake-up and their stop.
#include "search/threads.h"
#include "search/driver.h"
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

constinit thread_local int thread_number = 0;
root_move_function helper_root_filter;

namespace {

// A helper's node count, published at its polls; one cache line each, so
// that the helpers do not slow each other down writing them.
struct alignas(64) published_count {
    std::atomic<std::int64_t> nodes{0};
};

// The main thread's alone.
std::vector<std::thread> helpers;
bool exit_handler_set;

// Shared: the helpers' wake-up and their idle report, written under `lock`.
std::mutex lock;
bool searching;              // between start_helpers and stop_helpers; the helpers read it while they search
std::condition_variable wake, idle;
unsigned search_round;       // +1 per search the helpers are to run
int helpers_wanted;          // helpers 1 .. helpers_wanted - 1 keep running; the others end
int helpers_busy;            // helpers still searching the current round
int root_depth;              // the main thread's iteration limit for this round
root_move_function root_filter;

std::atomic<bool> stop_flag;
published_count counts[MAX_SEARCH_THREADS];

// A helper's hooks: it polls only the stop flag and prints nothing.
int helper_poll() {
    counts[thread_number].nodes.store(reported_nodes(), std::memory_order_relaxed);
    return stop_flag.load(std::memory_order_relaxed);
}
void quiet_line(int, int, const tagLINE*, int, std::int64_t) {}

// `seen`: the round the main thread was at when it started this helper.
void helper_loop(int number, unsigned seen) {
    thread_number = number;
    poll_hook = helper_poll;
    line_hook = quiet_line;
    silencio = 1;
    for (;;) {
        {
            std::unique_lock<std::mutex> held(lock);
            wake.wait(held, [&] { return number >= helpers_wanted || search_round != seen; });
            if (number >= helpers_wanted) return;
            seen = search_round;
            // Every other helper looks one iteration further, so that the
            // threads do not all search the same tree at the same depth.
            max_depth = root_depth + (number % 2);
            root_move_hook = root_filter;
        }
        helper_search();
        counts[number].nodes.store(reported_nodes(), std::memory_order_relaxed);
        std::lock_guard<std::mutex> held(lock);
        if (--helpers_busy == 0) idle.notify_all();
    }
}

void end_helpers(size_t keep) {
    stop_flag.store(true, std::memory_order_relaxed);   // one still searching (at the program's end) stops
    {
        std::lock_guard<std::mutex> held(lock);
        helpers_wanted = int(keep) + 1;
    }
    wake.notify_all();
    while (helpers.size() > keep) {
        helpers.back().join();
        helpers.pop_back();
    }
}

// At the program's end the helpers end before the statics they wait on go.
void end_all_helpers() { end_helpers(0); }

}  // namespace

void set_search_threads(int n) {
    const size_t wanted = size_t(std::clamp(n, 1, MAX_SEARCH_THREADS) - 1);
    if (wanted < helpers.size()) end_helpers(wanted);
    if (wanted > helpers.size() && !exit_handler_set) exit_handler_set = std::atexit(end_all_helpers) == 0;
    {
        std::lock_guard<std::mutex> held(lock);
        helpers_wanted = int(wanted) + 1;
    }
    while (helpers.size() < wanted) helpers.emplace_back(helper_loop, int(helpers.size()) + 1, search_round);
}

void start_helpers() {
    if (helpers.empty()) return;
    publish_root();
    stop_flag.store(false, std::memory_order_relaxed);
    for (size_t i = 1; i <= helpers.size(); i++) counts[i].nodes.store(0, std::memory_order_relaxed);
    {
        std::lock_guard<std::mutex> held(lock);
        root_depth = max_depth;
        root_filter = helper_root_filter;
        helpers_busy = int(helpers.size());
        search_round++;
        searching = true;
    }
    wake.notify_all();
}

void stop_helpers() {
    if (!searching) return;
    stop_flag.store(true, std::memory_order_relaxed);
    std::unique_lock<std::mutex> held(lock);
    idle.wait(held, [] { return helpers_busy == 0; });
    searching = false;
}

bool helpers_searching() { return searching; }

std::int64_t helper_nodes() {
    std::int64_t sum = 0;
    for (size_t i = 1; i <= helpers.size(); i++) sum += counts[i].nodes.load(std::memory_order_relaxed);
    return sum;
}
