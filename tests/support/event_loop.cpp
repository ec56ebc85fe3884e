// Trovecart tests - waiting on the event loop.
#include "support/event_loop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void EnsureCoreApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "trovecart_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    EnsureCoreApplication();
    if (done())
        return true;
    QEventLoop loop;
    // Checked often enough that a waiting test loses no time worth noticing.
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void SpinEventLoop(int milliseconds) {
    EnsureCoreApplication();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
