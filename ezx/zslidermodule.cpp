#include "ezx/zslidermodule.h"

#include "ezx/zskin.h"
#include "platform/logline.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

ZSliderModule::ZSliderModule(int min, int max, int step, int value, int indicator,
                             QWidget* parent, const char* name, int skin)
    : QWidget(parent)
{
    Q_UNUSED(skin);
    if (name)
        setObjectName(QString::fromLatin1(name));
    if (min > max) {
        noteLine(QStringLiteral("ZSliderModule: range %1..%2 turned round").arg(min).arg(max));
        std::swap(min, max);
    }
    if (step <= 0)
        step = 1;

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(8);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(min, max);
    m_slider->setSingleStep(step);
    m_slider->setPageStep(step);
    m_slider->setValue(value);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    m_slider->setMinimumHeight(24);
    m_slider->setStyleSheet(
        QStringLiteral("QSlider::groove:horizontal { height: 4px; background: %1; border-radius: 2px; }"
                       "QSlider::sub-page:horizontal { background: %2; border-radius: 2px; }"
                       "QSlider::handle:horizontal { width: 14px; height: 14px; margin: -5px 0;"
                       " border-radius: 7px; background: %2; border: 2px solid white; }"
                       "QSlider::handle:horizontal:focus { background: %3; }")
            .arg(zskin::rule().name(), zskin::highlight().name(), zskin::popupFrame().name()));
    row->addWidget(m_slider, 1);
    setFocusProxy(m_slider);

    if (indicator != 0) {
        m_indicator = new QLabel(QString::number(m_slider->value()), this);
        m_indicator->setMinimumWidth(28);
        m_indicator->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->addWidget(m_indicator);
    }

    connect(m_slider, &QSlider::valueChanged, this, [this](int v) {
        if (m_indicator)
            m_indicator->setText(QString::number(v));
        emit valueChanged(v);
    });
}

ZSliderModule::~ZSliderModule() = default;
