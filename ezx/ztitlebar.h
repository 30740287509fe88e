#pragma once

#include <QString>
#include <QWidget>

// The title strip at the top of a phone window: a dark gradient with the
// title in bold white, elided when it does not fit.
class ZTitleBar : public QWidget
{
    Q_OBJECT
public:
    explicit ZTitleBar(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
};
