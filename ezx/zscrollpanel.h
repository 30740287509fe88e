#pragma once

#include <QScrollArea>

// A scrolled area whose children sit at fixed positions in its contents; the
// contents grow to cover every child (and fill the view at least). It
// scrolls up and down, with a thin bar only when the contents are taller
// than the view; sideways only through scrollBy(), without a bar, as the
// phone's screen is the width of its pages. It takes no keyboard focus:
// the keys stay with the window's lists and tabs.
class ZScrollPanel : public QScrollArea
{
    Q_OBJECT
public:
    ZScrollPanel(QWidget* parent = nullptr, const char* name = nullptr, int flags = 0,
                 int skin = 0);
    ~ZScrollPanel() override;

    // w becomes a child of the contents, at (x, y).
    void addChild(QWidget* w, int x, int y);

    void scrollBy(int dx, int dy);
    int contentsX() const;
    int contentsY() const;
    QWidget* contents() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Places the children (nothing to do here: they keep their positions)
    // and returns the size the contents need.
    virtual QSize arrangeChildren();

    // Sizes the contents after a child changed; safe against re-entry.
    void relayout();

private:
    QWidget* m_contents;
    bool m_inRelayout = false;
};
