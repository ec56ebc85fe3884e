// Trovecart - the position slider: reports presses and releases on itself, shows a selection.
#pragma once

#include <QSlider>

class TQLTrackBarEx : public QSlider {
    Q_OBJECT
public:
    explicit TQLTrackBarEx(QWidget* parent = nullptr);

    // A band over the groove from SelStart to SelEnd (slider values); none while they are equal.
    void SetSelStart(int value);
    void SetSelEnd(int value);
    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }

signals:
    void MouseDown(Qt::MouseButton button);
    void MouseUp(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int selStart_ = 0;
    int selEnd_ = 0;
};
