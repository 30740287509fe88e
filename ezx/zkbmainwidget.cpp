#include "ezx/zkbmainwidget.h"

ZKbMainWidget::ZKbMainWidget(int headerType, QWidget* parent, const char* name, int flags)
    : ZMainWidget(headerType, parent, name, flags)
{
}

ZKbMainWidget::~ZKbMainWidget() = default;
