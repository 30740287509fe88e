#include "ezx/zlistlayout.h"

#include "platform/logline.h"

#include <algorithm>

namespace {
QList<ZListField> oneTextField()
{
    return {ZListField{ZListField::Text, 0}};
}

// Field widths wider than any screen are typing mistakes, not layouts.
constexpr int maxFieldWidth = 4096;
}

QList<ZListField> parseListLayout(const QString& layout)
{
    QList<ZListField> fields;
    int i = 0;
    const int n = static_cast<int>(layout.size());
    bool bad = false;
    while (i < n && !bad) {
        bad = true;  // until the field is complete
        if (layout.at(i) != QLatin1Char('%'))
            break;
        ++i;
        int width = 0;
        int digits = 0;
        while (i < n && layout.at(i).isDigit() && digits < 5) {
            width = width * 10 + layout.at(i).digitValue();
            ++i;
            ++digits;
        }
        if (i >= n || width > maxFieldWidth)
            break;
        const QChar kind = layout.at(i);
        if (kind == QLatin1Char('I'))
            fields.append(ZListField{ZListField::Icon, width});
        else if (kind == QLatin1Char('M'))
            fields.append(ZListField{ZListField::Text, width});
        else
            break;
        ++i;
        bad = false;
    }
    if (bad || fields.isEmpty()) {
        noteLine(QStringLiteral("ZListBox: bad row layout \"%1\", using \"%M\"").arg(layout));
        return oneTextField();
    }
    return fields;
}

QList<int> listFieldWidths(const QList<ZListField>& fields, int rowWidth,
                           const QList<int>& iconWidths)
{
    QList<int> widths;
    widths.reserve(fields.size());
    int used = 0;
    int autoText = 0;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const ZListField& f = fields.at(i);
        int w = f.width;
        if (w == 0 && f.kind == ZListField::Icon)
            w = i < iconWidths.size() ? iconWidths.at(i) : 0;
        if (w == 0 && f.kind == ZListField::Text)
            ++autoText;
        widths.append(w);
        used += w;
    }
    if (autoText > 0) {
        const int rest = std::max(0, rowWidth - used);
        int share = rest / autoText;
        int extra = rest % autoText;  // the last automatic field takes the odd pixels
        for (qsizetype i = fields.size() - 1; i >= 0; --i) {
            if (fields.at(i).kind == ZListField::Text && fields.at(i).width == 0) {
                widths[i] = share + extra;
                extra = 0;
            }
        }
    }
    return widths;
}
