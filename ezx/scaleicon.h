#pragma once

class QPixmap;

// Shrinks an icon that is wider or higher than n pixels to exactly n×n
// (smoothly, the aspect ratio is not kept), in place. Smaller icons stay as
// they are. Rows and menus pass 19.
void scaleIconTo(QPixmap& pixmap, int n);
