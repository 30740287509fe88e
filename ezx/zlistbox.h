#pragma once

// The phone's list box: rows of ZListItem drawn by the box itself (cheap for
// thousands of rows), one current row drawn highlighted, a 1-pixel rule
// between rows, a thin scroll bar. Up/Down move the current row over the
// selectable rows (no wrap); Return/Enter or a click select it. Separators and
// unselectable rows never become current and are never selected.
//
// A text too long for its row ends in "…"; on the current row it scrolls
// instead (a marquee): after a pause it moves left until its end shows,
// pauses, and comes back to its start, over and over. Its timer runs only
// while the list is shown and its current row has such a text.
#include <QAbstractScrollArea>
#include <QFont>
#include <QList>

#include <optional>

class QTimer;
class ZListItem;
class ZSettingItem;

class ZListBox : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // layout: the field string of the rows that follow the list's own layout.
    ZListBox(const QString& layout, QWidget* parent, int flags = 0, int skin = 0);
    explicit ZListBox(QWidget* parent, int flags = 0, int skin = 0);
    ~ZListBox() override;

    QString layout() const { return m_layout; }

    // Takes ownership. index -1 or past the end appends; a sorted list puts the
    // row at its sorted place instead. With autoHighlight a list without a
    // current row makes this row current (when it is selectable).
    void insertItem(ZListItem* item, int index = -1, bool autoHighlight = true);
    // Deletes the row at index.
    void removeItem(int index);
    void clear();

    int count() const { return static_cast<int>(m_items.size()); }
    ZListItem* item(int index) const;
    int itemIndex(const ZListItem* item) const;

    // -1 when there is none.
    int currentItem() const { return m_current; }
    // -1 clears it; separators and unselectable rows are refused.
    void setCurrentItem(int index);
    void ensureCurrentVisible();

    // Fonts of the text lines. Region 0: emphasized lines; 1: the others;
    // 2: every line whose own region has no font. `highlighted` picks the
    // font of the current row.
    void setItemFont(int region, const QFont& font, bool highlighted);
    // The font that a line is drawn with.
    QFont lineFont(bool emphasized, bool highlighted) const;
    // The height of that font (not highlighted), measured once per font.
    int lineFontHeight(bool emphasized) const;

    // Sorts by each row's first text line and keeps the list sorted from now on.
    void sort(bool ascending);

    // Radio-style marks for single-select lists: checking a row unchecks the
    // others. Checking any row turns the marks on.
    void checkItem(int index, bool checked);
    bool isChecked(int index) const;
    int checkedIndex() const;  // -1 when none
    void setCheckable(bool on);
    bool isCheckable() const { return m_checkable; }

    // The marquee of the current row: running (its timer active), how far
    // its long texts are moved left in pixels, and one step of it (what the
    // timer does).
    bool isMarqueeRunning() const;
    int marqueeOffset() const { return m_marqueeOffset; }
    void stepMarquee();

    // The row under a point of the viewport, -1 when none.
    int itemAt(const QPoint& pos) const;
    // The rectangle of a row in viewport coordinates (empty when out of range).
    QRect itemRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void selected(int index);
    void selected(ZSettingItem* item);
    void highlighted(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class ZListItem;
    void itemChanged(ZListItem* item);
    void forgetItem(ZListItem* item);  // an item deleted behind the list's back
    int heightOf(ZListItem* item) const;
    void relayout() const;  // row tops, from the cached heights
    void invalidateHeights();
    // The scroll bar's range follows the rows once per turn of the event
    // loop, not once per row: filling a list of thousands of rows would
    // otherwise lay it out and restyle the bar for every row.
    void updateScrollBar();
    void syncScrollBar();
    int sortedIndexFor(const ZListItem* item) const;
    int nextSelectable(int from, int step) const;
    void select(int index);
    // Starts the current row's marquee from its beginning, or stops it when
    // the row's texts fit (or the list is not shown).
    void restartMarquee();
    void stopMarquee();

    QString m_layout;
    QList<ZListItem*> m_items;
    int m_current = -1;
    int m_pressed = -1;
    std::optional<bool> m_sortAscending;
    bool m_checkable = false;
    // [region][highlighted]
    std::optional<QFont> m_fonts[3][2];
    mutable QList<int> m_tops;  // top of each row, plus the total height
    mutable bool m_layoutDirty = true;
    bool m_scrollBarPending = false;
    mutable std::optional<int> m_lineHeights[2];  // [emphasized]
    QTimer* m_marqueeTimer = nullptr;             // made when a row first needs it
    int m_marqueeRoom = 0;                        // how far the current row's texts overrun
    int m_marqueeOffset = 0;
    int m_marqueeWait = 0;  // steps of pause left
    bool m_marqueeAtEnd = false;
};
