// Trovecart - progress of long commands on a terminal.
#pragma once

#include <functional>

#include <QString>

// A "label... NN%" line on stderr that rewrites itself when the percentage changes, shown only when
// stderr is a terminal.
class TTerminalProgress {
public:
    explicit TTerminalProgress(QString label);
    ~TTerminalProgress();
    TTerminalProgress(const TTerminalProgress&) = delete;
    TTerminalProgress& operator=(const TTerminalProgress&) = delete;

    void Show(int percent);
    // A handler for TShop::OnArchiveProgress; empty when nothing is shown.
    std::function<void(int)> Handler();

private:
    QString label_;
    bool enabled_;
    int shownPercent_ = -1;
};
