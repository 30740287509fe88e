#pragma once

#include <QScrollArea>

// A scrolled area whose children sit at fixed positions in its contents; the
// contents grow to cover every child. Thin scroll bars appear only when
// needed.
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
    // Grows the contents to cover its children (and at least the viewport).
    virtual void relayoutContents();

private:
    QWidget* m_contents;
};
