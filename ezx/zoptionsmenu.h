#pragma once

#include "ezx/zfocus.h"
#include <QByteArray>

#include <QFrame>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QVector>

// An options menu: a framed list of entries with icons, shown over the lower
// part of its window just above the soft-key bar. Each entry calls a slot
// given by its name (through the meta-object, so overrides run) and closes
// the menu. Up/Down move, Return/Enter activates, Escape closes.
class ZOptionsMenu : public QFrame
{
    Q_OBJECT
public:
    // rect: where the phone would place it; not used, the menu places itself
    // above the soft-key bar of its window. flags, skin, last: the phone's,
    // not used either.
    ZOptionsMenu(const QRect& rect, QWidget* parent, const char* name = nullptr, int flags = 0,
                 int skin = 0, bool last = true);
    ~ZOptionsMenu() override;

    // Appends an entry; returns its id (its index).
    int insertItem(const QString& text, const QPixmap& icon, QObject* receiver, const char* slot,
                   bool enabled = true);
    void clear();
    int count() const;
    QString text(int index) const;
    QPixmap pixmap(int index) const;
    bool isItemEnabled(int index) const;
    void setItemEnabled(int index, bool enabled);

    int currentIndex() const;
    void setCurrentIndex(int index);

    // Calls the entry's slot and closes the menu. A disabled entry or an
    // index out of range only closes it.
    void activate(int index);

    void popup();
    bool isOpen() const;

    QSize sizeHint() const override;

signals:
    void activated(int index);
    void opened();
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Item
    {
        QString text;
        QPixmap icon;
        QPointer<QObject> receiver;
        QByteArray slot;
        bool enabled = true;
    };

    int rowAt(const QPoint& pos) const;
    QRect rowRect(int index) const;
    int visibleRows() const;
    void place();
    void scrollToCurrent();
    void moveCurrent(int step);

    QVector<Item> m_items;
    int m_current = 0;
    int m_top = 0;  // first row shown when the entries do not all fit
    int m_pressedRow = -1;
    bool m_open = false;          // between popup() and the hide that closes it
    QPointer<QWidget> m_host;     // the widget it was made for (the soft-key bar)
    zfocus::Saved m_focusBefore;  // what had the keyboard when it opened
};
