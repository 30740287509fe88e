#pragma once

// A modal popup over the window: a framed box in the bottom part of the
// screen with a title (up to two lines, a longer one ends in "…"), its
// content and a soft-key bar of two texts.
// exec() runs a nested loop and returns 1 when the left soft key (F10, or a
// click on it) ends it, 0 for the right soft key, Escape or a close. The
// select key (Return/Enter) confirms like the left soft key unless the
// content uses it. Whoever runs a popup deletes it afterwards.
#include <QDialog>

class QPushButton;
class QVBoxLayout;
class ZLabel;

class ZPopup : public QDialog
{
    Q_OBJECT
public:
    // type, x and flags are the phone's popup kind, offset and flags; they
    // change nothing here.
    explicit ZPopup(int type = 0, QWidget* parent = nullptr, const char* name = nullptr,
                    bool modal = true, int x = 0, int flags = 0);
    ~ZPopup() override;

    int exec() override;

    void setTitle(const QString& title);
    QString title() const;
    void setSoftkeyTextLeft(const QString& text);
    void setSoftkeyTextRight(const QString& text);
    QString softkeyTextLeft() const;
    QString softkeyTextRight() const;
    // 0: left soft key, 1: right soft key.
    QPushButton* softkeyButton(int index) const;

    // Puts a widget into the content, at index (-1 = after the others); the
    // popup becomes its parent.
    void insertChild(QWidget* widget, int index = -1);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // A phone text by resource id, with its English text when the language
    // resources do not know the id.
    static QString phoneText(const char* id, const char* english);

private:
    void placeOverWindow();

    ZLabel* m_title = nullptr;
    QVBoxLayout* m_content = nullptr;
    QWidget* m_keyBar = nullptr;
    QPushButton* m_left = nullptr;
    QPushButton* m_right = nullptr;
};
