#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QVBoxLayout;
class ZSoftKey;
class ZTitleBar;

// The phone's full-screen window: 240×320, a title bar on top, a content
// area (a vertical box layout) and a soft-key bar at the bottom. flags 3
// makes it application-modal. F10 and Escape reach the left and right soft
// key while the window is active.
class ZMainWidget : public QWidget
{
    Q_OBJECT
public:
    enum Flags {
        Modal = 3
    };

    // headerType: the phone's title style, kept as a property (every
    // style shows the title bar). name becomes the objectName.
    ZMainWidget(int headerType, QWidget* parent = nullptr, const char* name = nullptr,
                int flags = 0);
    ~ZMainWidget() override;

    void setMainWidgetTitle(const QString& title);
    QString mainWidgetTitle() const;

    // The content area's layout.
    QVBoxLayout* getVBoxLayout() const;
    // Puts w as the only content (replacing what setContentWidget put there).
    void setContentWidget(QWidget* w);
    QWidget* getContentWidget() const;

    // The bar at the bottom; the window takes it. setCSTWidget is the
    // phone's other name for the same thing.
    void setSoftKey(ZSoftKey* softKey);
    void setCSTWidget(ZSoftKey* softKey);
    ZSoftKey* softKey() const;

    // The area between title and soft keys, in window coordinates.
    QRect contentRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ZTitleBar* m_title;
    QWidget* m_content;
    QVBoxLayout* m_contentLayout;
    QVBoxLayout* m_outer;
    QPointer<QWidget> m_contentWidget;
    QPointer<ZSoftKey> m_softKey;
};
