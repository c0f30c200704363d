#pragma once

#include <QThread>
#include <functional>
#include <memory>
#include <vector>

// Runs every job at once, each on a thread of its own with its own event dispatcher, and returns when
// all have ended. A job makes its own objects (a serial line, a timer): they live on its thread.
inline void runAtOnce(const std::vector<std::function<void()>> &jobs)
{
    std::vector<std::unique_ptr<QThread>> threads;
    for (const std::function<void()> &job : jobs) {
        threads.emplace_back(QThread::create(job));
        threads.back()->start();
    }
    for (const std::unique_ptr<QThread> &thread : threads)
        thread->wait();
}
