#pragma once

#include <QPixmap>
#include <QWidget>

// A picture. It takes the picture's size until a fixed width or height is
// set; then the picture is drawn from the top-left corner, clipped to that
// size. A negative fixed size counts as zero: nothing is shown.
class ZImage : public QWidget
{
    Q_OBJECT
public:
    ZImage(QWidget* parent = nullptr, const char* name = nullptr, int flags = 0);
    ~ZImage() override;

    void setPixmap(const QPixmap& pixmap);
    QPixmap pixmap() const;

    // QWidget's, made safe for negative values.
    void setFixedWidth(int w);
    void setFixedHeight(int h);
    void setFixedSize(int w, int h);
    void setFixedSize(const QSize& size);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void followPicture();

    QPixmap m_pixmap;
    bool m_fixedWidth = false;
    bool m_fixedHeight = false;
};
