#pragma once

#include "ezx/zscrollpanel.h"

#include <QVector>

// A scroll panel that stacks its children vertically, each at full width
// (or its own width when it asks not to stretch), with small spacing. A
// child of a fixed width wider than the form is narrowed to it, so that
// nothing runs off the screen or under the scroll bar.
class ZFormContainer : public ZScrollPanel
{
    Q_OBJECT
public:
    ZFormContainer(QWidget* parent, int flags = 0, int skin = 0);
    ~ZFormContainer() override;

    // Appends w. stretch: w takes the full width. extra: an optional widget
    // placed to the right of w on the same row.
    void addChild(QWidget* w, bool stretch = true, QWidget* extra = nullptr);

    static constexpr int spacing = 4;
    static constexpr int margin = 2;

protected:
    QSize arrangeChildren() override;
    void showEvent(QShowEvent* event) override;

private:
    struct Row
    {
        QWidget* widget;
        QWidget* extra;
        bool stretch;
        // The fixed width the widget asked for, and the one the form gave it
        // (narrower when the form is).
        int askedWidth = 0;
        int givenWidth = 0;
    };
    QVector<Row> m_rows;
};
