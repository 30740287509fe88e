#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QWidget>

class ZOptionsMenu;

// The soft-key bar at the bottom of a window: a left and a right key (index
// 0 and 1). Each key calls a slot given by its name, through the
// meta-object, so a subclass's override of a virtual slot runs; or it opens
// and closes an options menu. The keys are buttons (mouse, touch) and are
// reached from the keyboard by F10 (left) and Escape (right) while their
// window is active.
class ZSoftKey : public QWidget
{
    Q_OBJECT
public:
    enum Index {
        Left = 0,
        Right = 1
    };

    // type: the phone's bar layout name (e.g. "CST_2"), kept as a property.
    ZSoftKey(const char* type, QWidget* parent, QObject* receiver = nullptr);
    ~ZSoftKey() override;

    void setText(int index, const QString& text, int priority = 0);
    QString text(int index) const;

    // slot: "accept()" or SLOT(accept()); receiver null clears the key.
    void setClickedSlot(int index, QObject* receiver, const char* slot);

    // The key then opens the menu, or closes it when it is open; null clears.
    void setOptMenu(int index, ZOptionsMenu* menu);
    ZOptionsMenu* optMenu(int index) const;
    // Text shown on a menu key while its menu is open ("Cancel" by default).
    void setTextForOptMenuHide(const QString& text);

    // What a press of the key does (tests, key handling).
    void click(int index);

    // The text a key shows now (it changes while a menu is open).
    QString shownText(int index) const;
    // The menu of this bar that is open, if any.
    ZOptionsMenu* openMenu() const;

    QSize sizeHint() const override;

signals:
    void leftClicked();
    void rightClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Key
    {
        QString text;
        QPointer<QObject> receiver;
        QByteArray slot;  // normalised signature, without the SLOT() code
        QPointer<ZOptionsMenu> menu;
    };

    static bool validIndex(int index);
    int keyAt(const QPoint& pos) const;
    bool isMyKeyEvent(QObject* watched, QEvent* event) const;

    Key m_keys[2];
    QString m_menuHideText;
    int m_pressed = -1;
};
