#include "ui/znumselect.h"

#include "ezx/zlabel.h"
#include "ezx/zslidermodule.h"

#include <QSignalBlocker>
#include <QSlider>

namespace {
constexpr int sliderMinimum = -10;
constexpr int sliderMaximum = 10;
constexpr int sliderSkin = 50;
constexpr int labelSkin = 87;
}

ZNumSelect::ZNumSelect(QWidget* parent, const QString& caption)
    : ZPopup(0, parent, nullptr, true, 0, 0)
    , m_caption(caption)
{
    m_slider = new ZSliderModule(sliderMinimum, sliderMaximum, 1, 0, 0, this, nullptr, sliderSkin);
    m_label = new ZLabel(QString(), this, nullptr, 0, labelSkin);
    setValue(0);
    insertChild(m_label, -1);
    insertChild(m_slider, -1);

    setSoftkeyTextLeft(tr("TXT_RID_SOFTKEY_OK", "Ok"));
    setSoftkeyTextRight(tr("TXT_RID_SOFTKEY_CANCEL", "Cancel"));
    setTitle(QStringLiteral(" "));

    connect(m_slider, &ZSliderModule::valueChanged, this, &ZNumSelect::valueChanged);
    m_slider->setFocus();
}

ZNumSelect::~ZNumSelect() = default;

void ZNumSelect::setValue(int v)
{
    m_value = v;
    showValue(v);
    // The slider keeps itself within its range; the limited value it would
    // report must not replace the value the caller gave.
    const QSignalBlocker quiet(m_slider);
    m_slider->getSlider()->setValue(v);
}

void ZNumSelect::valueChanged(int v)
{
    m_value = v;
    showValue(v);
}

void ZNumSelect::showValue(int v)
{
    m_label->setText(m_caption + QLatin1Char(' ') + QString::number(v, 10));
}
