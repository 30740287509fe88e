#pragma once

class ZImage;

namespace zk::monitor {

// The side panel's bars are covers cut from the top-left corner of their
// picture. A size of 0 or below (full load, 98 % free and more) leaves
// nothing to show, so the bar is hidden rather than trusted to draw an
// empty cut: in Qt an empty source rectangle means the whole picture.
void setBarHeight(ZImage* bar, int height);
void setBarWidth(ZImage* bar, int width);

}  // namespace zk::monitor
