#pragma once

#include <QIcon>
#include <QString>
#include <QVector>
#include <QWidget>

// The strip of icon tabs over a ZNavTabWidget's pages: equal-width tabs,
// the current one raised in the highlight colour. Clicks pick a tab.
class ZNavTabBar : public QWidget
{
    Q_OBJECT
public:
    explicit ZNavTabBar(QWidget* parent = nullptr);

    void addTab(const QIcon& icon, const QString& label);
    int count() const;
    QString label(int index) const;
    void setCurrent(int index);
    int current() const;

    QSize sizeHint() const override;

signals:
    void tabClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Tab
    {
        QIcon icon;
        QString label;
    };
    QRect tabRect(int index) const;

    QVector<Tab> m_tabs;
    int m_current = -1;
};
