// Trovecart - the start-up picture shown while the program gets ready.
#pragma once

#include <functional>

#include <QWidget>

class TSplash : public QWidget {
    Q_OBJECT
public:
    // Runs onReady once, 500 ms after the splash was created.
    explicit TSplash(std::function<void()> onReady);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPoint dragOffset_;
};
