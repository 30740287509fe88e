#include "ezx/zsettingitem.h"

#include "ezx/zlistbox.h"
#include "ezx/zskin.h"
#include "platform/logline.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {
constexpr int textPadding = 4;
constexpr int iconPadding = 6;

int lineHeight(const ZListBox& list, bool emphasized)
{
    const int font = list.lineFontHeight(emphasized);
    if (emphasized)
        return std::max(zskin::listRowHeight, font + 6);
    return std::max(zskin::listRowHeight - 6, font + 4);
}

// A picture that does not fit its box is shrunk, keeping its shape.
void drawCentred(QPainter& p, const QRect& box, const QPixmap& pix)
{
    if (pix.isNull() || box.width() <= 0 || box.height() <= 0)
        return;
    QSize size = pix.deviceIndependentSize().toSize();
    if (size.width() > box.width() || size.height() > box.height())
        size.scale(box.size(), Qt::KeepAspectRatio);
    const QRect target(box.x() + (box.width() - size.width()) / 2,
                       box.y() + (box.height() - size.height()) / 2, size.width(), size.height());
    p.drawPixmap(target, pix);
}
}

ZSettingItem::ZSettingItem(ZListBox* list, const QString& layout)
    : ZListItem(list)
{
    const QList<ZListField> specs = parseListLayout(layout);
    m_fields.reserve(specs.size());
    for (const ZListField& spec : specs)
        m_fields.append(Field{spec, QPixmap(), nullptr, {}});
}

ZSettingItem::~ZSettingItem() = default;

bool ZSettingItem::validField(int field, const char* operation) const
{
    if (field >= 0 && field < fieldCount())
        return true;
    noteLine(QStringLiteral("ZSettingItem::%1: no field %2 in a row of %3 fields")
                 .arg(QLatin1String(operation))
                 .arg(field)
                 .arg(fieldCount()));
    return false;
}

void ZSettingItem::appendSubItem(int field, const QString& text, bool emphasized,
                                 const QPixmap* pix)
{
    if (!validField(field, "appendSubItem"))
        return;
    Field& f = m_fields[field];
    f.lines.append(Line{text, emphasized, 0});
    if (pix) {
        f.pixmap = *pix;
        f.loader = nullptr;
    }
    changed();
}

void ZSettingItem::setSubItem(int field, int line, const QString& text, bool emphasized,
                              int region)
{
    if (!validField(field, "setSubItem"))
        return;
    if (line < 0) {
        noteLine(QStringLiteral("ZSettingItem::setSubItem: bad line %1").arg(line));
        return;
    }
    Field& f = m_fields[field];
    // Lines in between stay empty, so that the line lands where it was asked.
    while (f.lines.size() <= line)
        f.lines.append(Line{QString(), false, 0});
    f.lines[line] = Line{text, emphasized, region};
    changed();
}

QString ZSettingItem::subItem(int field, int line) const
{
    if (field < 0 || field >= fieldCount())
        return QString();
    const Field& f = m_fields.at(field);
    if (line < 0 || line >= f.lines.size())
        return QString();
    return f.lines.at(line).text;
}

int ZSettingItem::subItemCount(int field) const
{
    if (field < 0 || field >= fieldCount())
        return 0;
    return static_cast<int>(m_fields.at(field).lines.size());
}

bool ZSettingItem::isEmphasized(int field, int line) const
{
    if (field < 0 || field >= fieldCount())
        return false;
    const Field& f = m_fields.at(field);
    return line >= 0 && line < f.lines.size() && f.lines.at(line).emphasized;
}

void ZSettingItem::setPixmap(int field, const QPixmap& pixmap)
{
    if (!validField(field, "setPixmap"))
        return;
    m_fields[field].pixmap = pixmap;
    m_fields[field].loader = nullptr;
    changed();
}

void ZSettingItem::setPixmapLoader(int field, std::function<QPixmap()> loader)
{
    if (!validField(field, "setPixmapLoader"))
        return;
    m_fields[field].pixmap = QPixmap();
    m_fields[field].loader = std::move(loader);
    changed();
}

void ZSettingItem::loadPixmap(const Field& f)
{
    if (!f.loader)
        return;
    const std::function<QPixmap()> loader = std::exchange(f.loader, nullptr);
    f.pixmap = loader();
}

QPixmap ZSettingItem::pixmap(int field) const
{
    if (field < 0 || field >= fieldCount())
        return QPixmap();
    loadPixmap(m_fields.at(field));
    return m_fields.at(field).pixmap;
}

ZListField ZSettingItem::field(int index) const
{
    if (index < 0 || index >= fieldCount())
        return ZListField{};
    return m_fields.at(index).spec;
}

QString ZSettingItem::sortText() const
{
    for (const Field& f : m_fields) {
        if (f.spec.kind == ZListField::Text && !f.lines.isEmpty())
            return f.lines.first().text;
    }
    return QString();
}

int ZSettingItem::linesHeight(const Field& f, const ZListBox& list) const
{
    int h = 0;
    for (const Line& line : f.lines)
        h += lineHeight(list, line.emphasized);
    return h;
}

int ZSettingItem::rowHeight(const ZListBox& list) const
{
    int h = lineHeight(list, true);
    for (const Field& f : m_fields) {
        if (f.loader)
            h = std::max(h, zskin::iconSize + 4);
        else if (!f.pixmap.isNull())
            h = std::max(h, f.pixmap.deviceIndependentSize().toSize().height() + 4);
        if (f.spec.kind == ZListField::Text)
            h = std::max(h, linesHeight(f, list));
    }
    return h;
}

QList<QRect> ZSettingItem::fieldBoxes(const QRect& rect) const
{
    QList<int> iconWidths;
    QList<ZListField> specs;
    for (const Field& f : m_fields) {
        loadPixmap(f);
        specs.append(f.spec);
        const int w = f.pixmap.deviceIndependentSize().toSize().width();
        iconWidths.append(f.pixmap.isNull() ? 0 : std::max(zskin::iconSize, w) + iconPadding);
    }
    const QList<int> widths = listFieldWidths(specs, rect.width(), iconWidths);

    QList<QRect> boxes;
    int x = rect.x();
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (x >= rect.right()) {
            boxes.append(QRect());
            continue;
        }
        boxes.append(QRect(x, rect.y(), std::min(widths.at(i), rect.right() + 1 - x), rect.height()));
        x += widths.at(i);
    }
    return boxes;
}

QRect ZSettingItem::textBoxOf(const Field& f, const QRect& box)
{
    QRect textBox = box.adjusted(textPadding, 0, -2, 0);
    if (!f.pixmap.isNull())
        textBox.setLeft(textBox.left() + f.pixmap.deviceIndependentSize().toSize().width() + textPadding);
    return textBox;
}

int ZSettingItem::textOverflow(const QRect& rect, const ZListBox& list) const
{
    const QList<QRect> boxes = fieldBoxes(rect);
    int overflow = 0;
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields.at(i);
        if (f.spec.kind != ZListField::Text || boxes.at(i).isEmpty())
            continue;
        const int room = textBoxOf(f, boxes.at(i)).width();
        if (room <= 0)
            continue;
        for (const Line& line : f.lines) {
            const QFontMetrics fm(list.lineFont(line.emphasized, true));
            overflow = std::max(overflow, fm.horizontalAdvance(line.text) - room);
        }
    }
    return overflow;
}

void ZSettingItem::paintRow(QPainter& p, const QRect& rect, const ZListBox& list,
                            bool current) const
{
    const QList<QRect> boxes = fieldBoxes(rect);
    // Only the current row scrolls its long texts; the others end in "…".
    const int shift = current ? list.marqueeOffset() : 0;
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields.at(i);
        const QRect& box = boxes.at(i);
        if (box.isEmpty())
            continue;
        if (f.spec.kind == ZListField::Icon) {
            drawCentred(p, box, f.pixmap);
            continue;
        }
        const QRect textBox = textBoxOf(f, box);
        if (!f.pixmap.isNull()) {
            const int pw = f.pixmap.deviceIndependentSize().toSize().width();
            drawCentred(p, QRect(box.x() + textPadding, box.y(), pw, box.height()), f.pixmap);
        }
        if (textBox.width() <= 0)
            continue;
        int y = box.y() + (box.height() - linesHeight(f, list)) / 2;
        for (const Line& line : f.lines) {
            const int lh = lineHeight(list, line.emphasized);
            const QFont font = list.lineFont(line.emphasized, current);
            const QFontMetrics fm(font);
            p.setFont(font);
            if (current)
                p.setPen(zskin::highlightText());
            else
                p.setPen(line.emphasized ? zskin::text() : zskin::dimText());
            const int overrun = fm.horizontalAdvance(line.text) - textBox.width();
            if (overrun > 0 && shift > 0) {
                // Scrolling: the whole text, moved left, seen through its box.
                const int x = textBox.x() - std::min(shift, overrun);
                p.save();
                p.setClipRect(textBox, Qt::IntersectClip);
                p.drawText(QRect(x, y, textBox.width() + overrun, lh),
                           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line.text);
                p.restore();
            } else {
                const QString shown = overrun > 0
                                          ? fm.elidedText(line.text, Qt::ElideRight, textBox.width())
                                          : line.text;
                p.drawText(QRect(textBox.x(), y, textBox.width(), lh),
                           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
            }
            y += lh;
        }
    }
}
