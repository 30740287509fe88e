#pragma once

#include <QWidget>

// A thin horizontal rule, 220 pixels wide unless given another width.
class ZSeparator : public QWidget
{
    Q_OBJECT
public:
    ZSeparator(QWidget* parent = nullptr, const char* name = nullptr, int flags = 0,
               int skin = 0);
    ~ZSeparator() override;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
