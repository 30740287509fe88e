#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

// What a demo application shows: its name, big, in a colour of its own, and
// its icon; the phone's idle screen shows a clock and "Idle" instead.
class DemoFace : public QWidget
{
    Q_OBJECT
public:
    DemoFace(const QString& name, const QPixmap& icon, bool idleScreen, QWidget* parent = nullptr);

    // A colour that stays the same for a name, and differs between names.
    static QColor colourOf(const QString& name);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_name;
    QPixmap m_icon;
    bool m_idle;
};
