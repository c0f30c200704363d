#pragma once

#include <QThread>
#include <algorithm>
#include <atomic>
#include <climits>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Runs the jobs at once, at most `atMost` at any moment, each on a thread with its own event
// dispatcher, taking them in their order; returns when all have ended. A job makes its own objects (a
// serial line, a timer, a process) and ends with them: they live on its thread.
inline void runAtOnce(const std::vector<std::function<void()>> &jobs, int atMost = INT_MAX)
{
    std::atomic<size_t> next{0};
    // Qt joins its threads in ways a race detector cannot see: each worker hands over what its jobs made
    // through this lock, which the caller takes once all have ended.
    std::mutex handedOver;
    std::vector<std::unique_ptr<QThread>> threads;
    const size_t workers = std::min(jobs.size(), size_t(std::max(atMost, 1)));
    for (size_t n = 0; n < workers; ++n) {
        threads.emplace_back(QThread::create([&jobs, &next, &handedOver] {
            for (size_t job = next++; job < jobs.size(); job = next++)
                jobs[job]();
            const std::lock_guard<std::mutex> handing(handedOver);
        }));
        threads.back()->start();
    }
    for (const std::unique_ptr<QThread> &thread : threads)
        thread->wait();
    const std::lock_guard<std::mutex> taking(handedOver);
}
