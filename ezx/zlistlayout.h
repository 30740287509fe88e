#pragma once

// The field string of a list row, as the phone writes it: "%I%M" (an icon
// field, then a text field that fills the rest), "%16I%214M%20M" (fields of
// fixed pixel widths), "%M" (one text field). Fields are numbered from 0 in
// the order written.
#include <QList>
#include <QString>

struct ZListField
{
    enum Kind {
        Icon,
        Text
    };
    Kind kind = Text;
    int width = 0;  // pixels; 0 = automatic (icon: its picture, text: the rest)
};

// Parses a field string. A malformed string is logged and read as "%M", so a
// row always has at least one text field.
QList<ZListField> parseListLayout(const QString& layout);

// Pixel widths of the fields in a row of the given width. Automatic icon
// fields take iconWidth (0 when they hold no picture); automatic text fields
// share what the fixed fields leave, never less than 0.
QList<int> listFieldWidths(const QList<ZListField>& fields, int rowWidth,
                           const QList<int>& iconWidths);
