#pragma once

#include <QThread>
#include <algorithm>
#include <atomic>
#include <climits>
#include <functional>
#include <memory>
#include <vector>

// Runs the jobs at once, at most `atMost` at any moment, each on a thread with its own event
// dispatcher, taking them in their order; returns when all have ended. A job makes its own objects (a
// serial line, a timer, a process) and ends with them: they live on its thread.
inline void runAtOnce(const std::vector<std::function<void()>> &jobs, int atMost = INT_MAX)
{
    std::atomic<size_t> next{0};
    std::vector<std::unique_ptr<QThread>> threads;
    const size_t workers = std::min(jobs.size(), size_t(std::max(atMost, 1)));
    for (size_t n = 0; n < workers; ++n) {
        threads.emplace_back(QThread::create([&jobs, &next] {
            for (size_t job = next++; job < jobs.size(); job = next++)
                jobs[job]();
        }));
        threads.back()->start();
    }
    for (const std::unique_ptr<QThread> &thread : threads)
        thread->wait();
}
