#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QPromise>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>

// Work that may wait on a drive or a sound server runs on threads that nobody ever waits for:
// a thread still inside such a call when the program ends is left to end by itself. Results come
// back as futures, handed over with whenReady().

// Calls `then` with the future's result on `context`'s thread: at once when it is there already,
// otherwise once it comes; never once the context is gone or the future was cancelled.
template <typename T, typename Then>
void whenReady(const QFuture<T>& future, QObject* context, Then then)
{
    if (future.isFinished()) {
        if (!future.isCanceled())
            then(future.result());
        return;
    }
    auto* watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, then = std::move(then)]() mutable {
                         watcher->deleteLater();
                         if (!watcher->isCanceled())
                             then(watcher->result());
                     });
    watcher->setFuture(future);
}

// Runs tasks one after another, in the order given, on a thread of its own. The thread ends once
// the queue is gone and the tasks given before have run.
class TaskQueue {
public:
    TaskQueue();
    ~TaskQueue();
    TaskQueue(const TaskQueue&) = delete;
    TaskQueue& operator=(const TaskQueue&) = delete;

    void post(std::function<void()> task);

    template <typename Work> QFuture<std::invoke_result_t<Work>> run(Work work)
    {
        auto promise = std::make_shared<QPromise<std::invoke_result_t<Work>>>();
        promise->start();
        QFuture<std::invoke_result_t<Work>> future = promise->future();
        post([promise, work = std::move(work)]() mutable {
            promise->addResult(work());
            promise->finish();
        });
        return future;
    }

private:
    struct State {
        std::mutex lock;
        std::condition_variable wake;
        std::deque<std::function<void()>> tasks;
        bool ended = false;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};
