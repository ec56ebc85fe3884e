// Trovecart - signal thread of trovecart-cli.
#include "cli/cli_signals.h"

#include <csignal>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <utility>

#include "shop/headless_project.h"

namespace {

std::mutex handlerMutex;
std::function<void()> interruptHandler;
// Held by the thread that ends the program by a signal, so that the main thread does not end it
// normally meanwhile.
std::mutex endingMutex;

sigset_t HandledSignals() {
    sigset_t signalSet;
    sigemptyset(&signalSet);
    sigaddset(&signalSet, SIGINT);
    sigaddset(&signalSet, SIGTERM);
    sigaddset(&signalSet, SIGHUP);
    return signalSet;
}

// Takes the handler once: a second signal finds none.
std::function<void()> TakeInterruptHandler() {
    const std::lock_guard<std::mutex> lock(handlerMutex);
    return std::exchange(interruptHandler, nullptr);
}

// With endingMutex locked.
[[noreturn]] void EndBySignal(int signalNumber, const QString& tempFolder) {
    THeadlessProject::RemoveOwnFolders(tempFolder);
    // Ends the way an unhandled signal does, so that the caller sees which one it was.
    std::signal(signalNumber, SIG_DFL);
    sigset_t signalSet;
    sigemptyset(&signalSet);
    sigaddset(&signalSet, signalNumber);
    pthread_sigmask(SIG_UNBLOCK, &signalSet, nullptr);
    std::raise(signalNumber);
    std::_Exit(128 + signalNumber);
}

} // namespace

void BlockCliSignals() {
    const sigset_t signalSet = HandledSignals();
    pthread_sigmask(SIG_BLOCK, &signalSet, nullptr);
}

void StartCliSignalThread(const QString& tempFolder) {
    const sigset_t signalSet = HandledSignals();
    std::thread([signalSet, tempFolder] {
        for (;;) {
            int signalNumber = 0;
            if (sigwait(&signalSet, &signalNumber) != 0)
                continue;
            if (const std::function<void()> handler = TakeInterruptHandler()) {
                handler();
            } else {
                endingMutex.lock();
                EndBySignal(signalNumber, tempFolder);
            }
        }
    }).detach();
}

void EndByPendingSignal(const QString& tempFolder) {
    // Waits here for good while the signal thread is ending the program.
    const std::lock_guard<std::mutex> lock(endingMutex);
    sigset_t pending;
    if (sigpending(&pending) != 0)
        return;
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        if (sigismember(&pending, signalNumber) == 1)
            EndBySignal(signalNumber, tempFolder);
    }
}

void SetCliInterruptHandler(std::function<void()> handler) {
    const std::lock_guard<std::mutex> lock(handlerMutex);
    interruptHandler = std::move(handler);
}
