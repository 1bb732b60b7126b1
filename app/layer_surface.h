#pragma once

#include <QImage>
#include <QWidget>

namespace trelvik {

// The image surface inside the view area: it keeps what is drawn on it as its own picture, so
// the picture survives repainting and can be copied.
class LayerSurface : public QWidget
{
    Q_OBJECT

public:
    explicit LayerSurface(QWidget *parent = nullptr);

    // The picture as last set; the widget takes its size.
    const QImage &Picture() const { return picture_; }
    void SetPicture(const QImage &picture);
    // A blank picture of the given size in the background colour.
    void Clear(QSize size);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage picture_;
};

} // namespace trelvik
