#pragma once

#include "ezx/zscrollpanel.h"

#include <QVector>

// A scroll panel that stacks its children vertically, each at full width
// (or its own width when it asks not to stretch), with small spacing.
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

private:
    struct Row
    {
        QWidget* widget;
        QWidget* extra;
        bool stretch;
    };
    QVector<Row> m_rows;
};
