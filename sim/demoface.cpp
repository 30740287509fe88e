#include "sim/demoface.h"

#include <QDateTime>
#include <QPainter>
#include <QTimer>

DemoFace::DemoFace(const QString& name, const QPixmap& icon, bool idleScreen, QWidget* parent)
    : QWidget(parent)
    , m_name(name)
    , m_icon(icon)
    , m_idle(idleScreen)
{
    if (m_idle) {
        auto* tick = new QTimer(this);
        connect(tick, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        tick->start(1000);
    }
}

QColor DemoFace::colourOf(const QString& name)
{
    // FNV-1a over the name picks a hue; saturation and value stay readable.
    quint32 hash = 2166136261u;
    for (const QChar c : name) {
        hash ^= c.unicode();
        hash *= 16777619u;
    }
    return QColor::fromHsv(static_cast<int>(hash % 360), 200, 170);
}

QSize DemoFace::sizeHint() const
{
    return {240, 260};
}

void DemoFace::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = m_idle ? QColor(30, 60, 110) : colourOf(m_name);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, colour.lighter(160));
    sky.setColorAt(1, colour);
    p.fillRect(rect(), sky);

    QRect area = rect().adjusted(8, 8, -8, -8);
    if (!m_icon.isNull()) {
        const QPixmap icon = m_icon.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        p.drawPixmap(area.center().x() - icon.width() / 2, area.top() + 12, icon);
    }

    QFont big = font();
    big.setBold(true);
    if (m_idle) {
        big.setPointSize(44);
        p.setFont(big);
        p.setPen(Qt::white);
        const QString clock = QTime::currentTime().toString(QStringLiteral("HH:mm"));
        p.drawText(area.adjusted(0, 70, 0, -90), Qt::AlignCenter, clock);
        big.setPointSize(20);
        p.setFont(big);
        p.drawText(area.adjusted(0, 150, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                   QStringLiteral("Idle"));
        return;
    }
    big.setPointSize(m_name.size() > 9 ? 20 : 28);
    p.setFont(big);
    p.setPen(Qt::white);
    p.drawText(area.adjusted(0, 70, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               m_name);
}
