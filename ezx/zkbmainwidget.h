#pragma once

#include "ezx/zmainwidget.h"

// The keyboard-driven main window of the phone; the same window as
// ZMainWidget (the keys reach its soft keys and focus widget).
class ZKbMainWidget : public ZMainWidget
{
    Q_OBJECT
public:
    ZKbMainWidget(int headerType, QWidget* parent = nullptr, const char* name = nullptr,
                  int flags = 0);
    ~ZKbMainWidget() override;
};
