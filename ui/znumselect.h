#pragma once

#include "ezx/zpopup.h"

class ZLabel;
class ZSliderModule;

// A popup with a label ("caption value") and a slider from -10 to 10, for
// picking a small integer such as a task's priority. Run it with exec(); on
// 1 the choice is value().
class ZNumSelect : public ZPopup
{
    Q_OBJECT
public:
    ZNumSelect(QWidget* parent, const QString& caption);
    ~ZNumSelect() override;

    // Stores v as it is, even outside the slider's range; the slider shows
    // the nearest value it has.
    void setValue(int v);
    int value() const { return m_value; }

    ZSliderModule* slider() const { return m_slider; }
    ZLabel* label() const { return m_label; }

public slots:
    // The slider moved.
    void valueChanged(int v);

private:
    void showValue(int v);

    ZSliderModule* m_slider = nullptr;
    QString m_caption;
    int m_value = 0;
    ZLabel* m_label = nullptr;
};
