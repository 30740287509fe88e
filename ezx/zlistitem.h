#pragma once

// Base of every row of a ZListBox. A row belongs to the list box given at
// construction; once inserted (ZListBox::insertItem) the list box owns it and
// deletes it on removeItem(), clear() or its own destruction.
#include <QPixmap>
#include <QString>

class QPainter;
class QRect;
class ZListBox;

class ZListItem
{
public:
    explicit ZListItem(ZListBox* list = nullptr);
    virtual ~ZListItem();

    ZListItem(const ZListItem&) = delete;
    ZListItem& operator=(const ZListItem&) = delete;

    // A separator is a thin, never selectable row with an optional text and
    // picture ("-" or an empty text draws a plain rule).
    void setSeparator(const QString& text, const QPixmap* pix = nullptr);
    bool isSeparator() const { return m_separator; }
    QString separatorText() const { return m_separatorText; }

    void setSelectable(bool selectable);
    // Separators are never selectable, whatever setSelectable() said.
    bool isSelectable() const { return m_selectable && !m_separator; }

    void setReservedData(int data) { m_reserved = data; }
    int getReservedData() const { return m_reserved; }

    ZListBox* listBox() const { return m_list; }

    // The text a sorted list box orders this row by.
    virtual QString sortText() const { return m_separatorText; }

protected:
    // Height of this row (not a separator) in the given list box.
    virtual int rowHeight(const ZListBox& list) const;
    // Draws the row's content (not its background, highlight or rule) into rect.
    // The current row draws its long texts moved left by the list's
    // marqueeOffset(), within their boxes.
    virtual void paintRow(QPainter& painter, const QRect& rect, const ZListBox& list,
                          bool current) const;
    // How many pixels the widest text of the row, drawn as the current row
    // into rect, needs beyond its box; 0 when every text fits.
    virtual int textOverflow(const QRect& rect, const ZListBox& list) const;
    // Tells the list box that the row's content or height changed.
    void changed();

private:
    friend class ZListBox;
    ZListBox* m_list = nullptr;
    bool m_inList = false;    // owned by m_list
    bool m_checked = false;   // radio mark of single-select lists
    int m_cachedHeight = -1;  // the list box's cache; -1 = to measure
    bool m_separator = false;
    bool m_selectable = true;
    int m_reserved = 0;
    QString m_separatorText;
    QPixmap m_separatorPixmap;
};
