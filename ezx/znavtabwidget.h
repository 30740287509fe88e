#pragma once

#include <QIcon>
#include <QString>
#include <QVector>
#include <QWidget>

class QStackedWidget;
class ZNavTabBar;

// Pages under a bar of icon tabs at the top. Left/Right switch the tab: on
// the widget itself, and from any page's child that leaves those keys
// unused (they travel up to here); a click on a tab selects it. currentChanged() is
// emitted only when the page actually changes. When the keys were with the
// tabs or the old page, the new page's first widget that takes keys gets
// them before currentChanged() (so its receiver can still move them).
class ZNavTabWidget : public QWidget
{
    Q_OBJECT
public:
    ZNavTabWidget(QWidget* parent, const char* name = nullptr, int skin = 0);
    ~ZNavTabWidget() override;

    // Adds a page (the widget takes it); returns its index.
    int addTab(QWidget* page, const QIcon& icon, const QString& label);

    int count() const;
    int currentPageIndex() const;
    QWidget* currentPage() const;
    QWidget* page(int index) const;
    QString tabLabel(int index) const;
    void setCurrentPage(int index);

    // With true, an auto-repeated Left/Right stops at the first/last tab
    // instead of wrapping round.
    void stopNextWhenKeyRepeat(bool stop);

    // Moves one tab left (-1) or right (+1), wrapping round unless
    // autoRepeat is set while stopping is on.
    void step(int direction, bool autoRepeat = false);

signals:
    void currentChanged(QWidget* page);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ZNavTabBar* m_bar;
    QStackedWidget* m_stack;
    bool m_stopOnRepeat = false;
};
