// Trovecart - terminal progress.
#include "cli/cli_progress.h"

#include <cstdio>
#include <unistd.h>

TTerminalProgress::TTerminalProgress(QString label)
    : label_(std::move(label)), enabled_(::isatty(STDERR_FILENO) == 1) {}

TTerminalProgress::~TTerminalProgress() {
    if (shownPercent_ >= 0)
        std::fputs("\n", stderr);
}

void TTerminalProgress::Show(int percent) {
    if (!enabled_ || percent == shownPercent_)
        return;
    shownPercent_ = percent;
    std::fprintf(stderr, "\r%s... %3d%%", label_.toLocal8Bit().constData(), percent);
    std::fflush(stderr);
}

std::function<void(int)> TTerminalProgress::Handler() {
    if (!enabled_)
        return {};
    return [this](int percent) { Show(percent); };
}
