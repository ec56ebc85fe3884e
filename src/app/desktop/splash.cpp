// Trovecart - splash window.
#include "desktop/splash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "common/app_info.h"
#include "gui/widgets/program_icon.h"

TSplash::TSplash(std::function<void()> onReady)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(282, 251);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QTimer::singleShot(500, this, std::move(onReady));
}

void TSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(32, 84, 140));
    background.setColorAt(1, QColor(14, 38, 70));
    p.fillRect(rect(), background);
    p.drawPixmap((width() - 100) / 2, 30, ProgramIconPixmap(100));
    p.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(16);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 146, width(), 30), Qt::AlignCenter, QStringLiteral("Corvalen Trovecart"));
    QFont small = font();
    small.setPointSize(9);
    p.setFont(small);
    p.drawText(QRect(0, 180, width(), 20), Qt::AlignCenter, ProgramCaption());
}

void TSplash::mousePressEvent(QMouseEvent* event) {
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TSplash::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - dragOffset_);
}
