#include "ezx/znumpickerdlg.h"

#include "ezx/zkeys.h"
#include "ezx/zskin.h"
#include "platform/logline.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {
constexpr int maxTypedDigits = 9;  // stays within int
}

ZNumModule::ZNumModule(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

ZNumModule::~ZNumModule() = default;

void ZNumModule::setMaxValue(int max)
{
    m_max = max;
    if (m_min > m_max)
        m_min = m_max;
    applyValue(m_value);
    update();
}

void ZNumModule::setMinValue(int min)
{
    m_min = min;
    if (m_max < m_min)
        m_max = m_min;
    applyValue(m_value);
    update();
}

void ZNumModule::setValue(int value)
{
    m_typed.clear();
    applyValue(value);
}

void ZNumModule::applyValue(int value)
{
    const int v = std::clamp(value, m_min, m_max);
    if (v == m_value)
        return;
    m_value = v;
    update();
    emit valueChanged(v);
}

QSize ZNumModule::sizeHint() const
{
    return QSize(200, 72);
}

void ZNumModule::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Up || key == Qt::Key_Right) {
        if (m_value < m_max)
            setValue(m_value + 1);
    } else if (key == Qt::Key_Down || key == Qt::Key_Left) {
        if (m_value > m_min)
            setValue(m_value - 1);
    } else if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const QChar digit = QLatin1Char(static_cast<char>('0' + (key - Qt::Key_0)));
        // A number that can no longer fit starts over with the new digit.
        const QString typed = m_typed + digit;
        if (typed.size() > maxTypedDigits || (typed.size() > 1 && typed.toLongLong() > m_max))
            m_typed = digit;
        else
            m_typed = typed;
        const bool negative = m_min < 0 && m_max <= 0;
        applyValue(negative ? -m_typed.toInt() : m_typed.toInt());
    } else if (key == Qt::Key_Minus) {
        m_typed.clear();
        applyValue(-m_value);
    } else if (key == Qt::Key_Backspace || key == zkeys::Clear) {
        if (m_typed.isEmpty()) {
            event->ignore();
            return;
        }
        m_typed.chop(1);
        if (!m_typed.isEmpty())
            applyValue(m_typed.toInt());
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ZNumModule::focusOutEvent(QFocusEvent* event)
{
    m_typed.clear();
    QWidget::focusOutEvent(event);
}

void ZNumModule::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect r = rect();
    const int boxW = std::min(r.width() - 8, 120);
    const QRect box(r.center().x() - boxW / 2, r.top() + 14, boxW, r.height() - 28);

    p.setPen(QPen(hasFocus() ? zskin::highlight() : zskin::rule(), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    QFont big = font();
    big.setPixelSize(std::max(12, box.height() - 12));
    big.setBold(true);
    p.setFont(big);
    p.setPen(zskin::text());
    p.drawText(box, Qt::AlignCenter, QString::number(m_value));

    // Arrows above and below: dimmed at the ends of the range.
    auto arrow = [&p](QPointF tip, double dy, bool enabled) {
        QPainterPath path;
        path.moveTo(tip);
        path.lineTo(tip.x() - 7, tip.y() + dy);
        path.lineTo(tip.x() + 7, tip.y() + dy);
        path.closeSubpath();
        p.fillPath(path, enabled ? zskin::highlight() : zskin::rule());
    };
    arrow(QPointF(r.center().x(), r.top() + 3), 8, m_value < m_max);
    arrow(QPointF(r.center().x(), r.bottom() - 3), -8, m_value > m_min);

    QFont small = font();
    small.setPixelSize(10);
    p.setFont(small);
    p.setPen(zskin::dimText());
    p.drawText(QRect(r.left() + 4, box.top(), box.left() - r.left() - 8, box.height()),
               Qt::AlignRight | Qt::AlignVCenter, QString::number(m_min));
    p.drawText(QRect(box.right() + 4, box.top(), r.right() - box.right() - 8, box.height()),
               Qt::AlignLeft | Qt::AlignVCenter, QString::number(m_max));
}

ZNumPickerDlg::ZNumPickerDlg(int type, QWidget* parent, const char* name, int flags)
    : ZPopup(0, parent, name, true, 0, flags)
{
    Q_UNUSED(type);
    m_module = new ZNumModule(this);
    insertChild(m_module);
    m_module->setFocus();
    setSoftkeyTextLeft(phoneText("TXT_RID_SOFTKEY_OK", "OK"));
    setSoftkeyTextRight(phoneText("TXT_RID_SOFTKEY_CANCEL", "Cancel"));
}

ZNumPickerDlg::~ZNumPickerDlg() = default;

ZNumModule* ZNumPickerDlg::getNumModule() const
{
    return m_module;
}
