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
            if (const std::function<void()> handler = TakeInterruptHandler())
                handler();
            else
                EndBySignal(signalNumber, tempFolder);
        }
    }).detach();
}

void SetCliInterruptHandler(std::function<void()> handler) {
    const std::lock_guard<std::mutex> lock(handlerMutex);
    interruptHandler = std::move(handler);
}
