#pragma once

// White symbols drawn on an application tile, in a 24×24 box (the painter is
// scaled for other sizes). The tile colour is passed for details cut into
// the symbol.
#include <QColor>
#include <QPainter>

#include <functional>

using Glyph = std::function<void(QPainter&, const QColor& tileColour)>;

namespace glyph {
void phone(QPainter& p, const QColor& c);
void messaging(QPainter& p, const QColor& c);
void browser(QPainter& p, const QColor& c);
void camera(QPainter& p, const QColor& c);
void calendar(QPainter& p, const QColor& c);
void contacts(QPainter& p, const QColor& c);
void music(QPainter& p, const QColor& c);
void video(QPainter& p, const QColor& c);
void settings(QPainter& p, const QColor& c);
void games(QPainter& p, const QColor& c);
void clock(QPainter& p, const QColor& c);
void calculator(QPainter& p, const QColor& c);
void notes(QPainter& p, const QColor& c);
void files(QPainter& p, const QColor& c);
void java(QPainter& p, const QColor& c);
void email(QPainter& p, const QColor& c);
void radio(QPainter& p, const QColor& c);
void gallery(QPainter& p, const QColor& c);
void alarm(QPainter& p, const QColor& c);
void generic(QPainter& p, const QColor& c);
void terminal(QPainter& p, const QColor& c);
void play(QPainter& p, const QColor& c);
}

// Symbols drawn for 16×16 tiles directly, on whole pixels: scaled down
// from 24 they would blur.
namespace glyph16 {
void terminal(QPainter& p, const QColor& c);
void java(QPainter& p, const QColor& c);
void generic(QPainter& p, const QColor& c);
}

// A tile of the colour with the glyph, size×size pixels; the glyph is drawn
// for a box of designSize and scaled to the tile.
QImage tileIcon(int size, const QColor& colour, const Glyph& symbol, int designSize = 24);
