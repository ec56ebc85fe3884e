// Trovecart - a white panel showing one picture, or a caption where there is none.
#pragma once

#include <QFrame>
#include <QImage>

// The picture is centred and, when larger than the panel, shrunk to fit with its aspect ratio
// kept; smaller pictures keep their size.
class TPicturePanel : public QFrame {
    Q_OBJECT
public:
    explicit TPicturePanel(QWidget* parent = nullptr);

    // A null picture hides the picture.
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }
    void SetCaption(const QString& caption);
    const QString& Caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QString caption_;
};
