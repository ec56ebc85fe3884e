// Trovecart - off-thread blocking call.
#include "gui/widgets/worker_call.h"

#include <exception>
#include <memory>

#include <QEventLoop>
#include <QThread>

void RunOffUiThread(const std::function<void()>& work) {
    std::exception_ptr failure;
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    if (failure)
        std::rethrow_exception(failure);
}
