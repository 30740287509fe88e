#pragma once

// A horizontal slider with the phone's look; Left/Right move it by `step`.
#include <QWidget>

class QLabel;
class QSlider;

class ZSliderModule : public QWidget
{
    Q_OBJECT
public:
    // indicator: when not 0 the current value is written beside the slider.
    ZSliderModule(int min, int max, int step, int value, int indicator, QWidget* parent,
                  const char* name = nullptr, int skin = 0);
    ~ZSliderModule() override;

    QSlider* getSlider() const { return m_slider; }

signals:
    void valueChanged(int value);

private:
    QSlider* m_slider = nullptr;
    QLabel* m_indicator = nullptr;
};
