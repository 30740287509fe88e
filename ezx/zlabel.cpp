#include "ezx/zlabel.h"

#include "ezx/zskin.h"

#include <QEvent>
#include <QFontInfo>
#include <QLayout>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

ZLabel::ZLabel(const QString& text, QWidget* parent, const char* name, int flags, int skin)
    : QWidget(parent)
    , m_text(text)
    , m_color(zskin::text())
{
    Q_UNUSED(flags);
    Q_UNUSED(skin);
    if (name)
        setObjectName(QLatin1String(name));
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    textChanged();
}

ZLabel::~ZLabel() = default;

void ZLabel::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    textChanged();
}

QString ZLabel::text() const
{
    return m_text;
}

void ZLabel::setFont(const QFont& font)
{
    QWidget::setFont(font);  // changeEvent() follows up
}

void ZLabel::setFixedWidth(int width)
{
    QWidget::setFixedWidth(std::max(0, width));
    textChanged();
}

void ZLabel::setAlignment(int alignment)
{
    // The phone's flag 4 is Qt::AlignHCenter here; anything else is taken
    // as Qt::Alignment.
    Qt::Alignment a = alignment == PhoneAlignCenter ? Qt::AlignHCenter
                                                    : Qt::Alignment::fromInt(alignment);
    if (!(a & Qt::AlignHorizontal_Mask))
        a |= Qt::AlignLeft;
    if (!(a & Qt::AlignVertical_Mask))
        a |= Qt::AlignTop;
    m_alignment = a;
    update();
}

Qt::Alignment ZLabel::alignment() const
{
    return m_alignment;
}

void ZLabel::setPreferredWidth(int width)
{
    m_preferredWidth = std::max(0, width);
    textChanged();
}

int ZLabel::preferredWidth() const
{
    return m_preferredWidth;
}

void ZLabel::setNumLines(int n)
{
    m_numLines = std::max(0, n);
    textChanged();
}

int ZLabel::numLines() const
{
    return m_numLines;
}

void ZLabel::setMaxLines(int n)
{
    m_maxLines = std::max(0, n);
    textChanged();
}

int ZLabel::maxLines() const
{
    return m_maxLines;
}

int ZLabel::lineLimit() const
{
    return m_numLines > 0 ? m_numLines : m_maxLines;
}

void ZLabel::setLeading(int leading)
{
    m_leading = std::max(0, leading);
    textChanged();
}

int ZLabel::leading() const
{
    return m_leading;
}

void ZLabel::setPadding(int all)
{
    setPadding(all, all, all, all);
}

void ZLabel::setPadding(int left, int top, int right, int bottom)
{
    m_padding = QMargins(std::max(0, left), std::max(0, top), std::max(0, right),
                         std::max(0, bottom));
    textChanged();
}

QMargins ZLabel::padding() const
{
    return m_padding;
}

void ZLabel::setAutoResize(bool on)
{
    m_autoResize = on;
    textChanged();
}

bool ZLabel::autoResize() const
{
    return m_autoResize;
}

void ZLabel::setFontColor(const QColor& color)
{
    m_color = color.isValid() ? color : zskin::text();
    update();
}

QColor ZLabel::fontColor() const
{
    return m_color;
}

void ZLabel::setShrinkToFit(bool on)
{
    m_shrink = on;
    textChanged();
}

bool ZLabel::shrinkToFit() const
{
    return m_shrink;
}

int ZLabel::lineHeight() const
{
    return fontMetrics().height();
}

// A word a little wider than the label (a clock figure in the 50-pixel
// side panel) is squeezed onto its line (down to 60 % of its width) rather than broken in
// the middle; only a word far too wide is broken wherever it must.
static constexpr double kMaxSqueeze = 1.6;

QVector<ZLabel::Line> ZLabel::layoutParagraph(const QString& paragraph, int textWidth,
                                              QTextOption::WrapMode mode) const
{
    QVector<Line> lines;
    const QFontMetrics fm = fontMetrics();
    QTextLayout layout(paragraph, font());
    QTextOption option;
    option.setWrapMode(mode);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, textWidth));
        const QString piece = paragraph.mid(line.textStart(), line.textLength()).trimmed();
        lines.append({piece, fm.horizontalAdvance(piece)});
    }
    layout.endLayout();
    return lines;
}

QVector<ZLabel::Line> ZLabel::layoutLines(int textWidth) const
{
    QVector<Line> lines;
    const QStringList paragraphs = m_text.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        if (paragraph.isEmpty()) {
            lines.append({QString(), 0});
            continue;
        }
        QVector<Line> words = layoutParagraph(paragraph, textWidth, QTextOption::WordWrap);
        const bool tooWide = std::any_of(words.cbegin(), words.cend(), [&](const Line& l) {
            return l.width > std::max(1, textWidth) * kMaxSqueeze;
        });
        if (tooWide)
            words = layoutParagraph(paragraph, textWidth,
                                    QTextOption::WrapAtWordBoundaryOrAnywhere);
        lines += words;
    }
    return lines;
}

QVector<ZLabel::Line> ZLabel::limitLines(QVector<Line> lines, const QFontMetrics& fm,
                                         int textWidth) const
{
    const int limit = lineLimit();
    if (limit <= 0 || lines.size() <= limit)
        return lines;
    // What is left out is marked on the last line drawn.
    QString last = lines.at(limit - 1).text;
    for (qsizetype i = limit; i < lines.size(); ++i)
        last += QLatin1Char(' ') + lines.at(i).text;
    last = fm.elidedText(last + QChar(0x2026), Qt::ElideRight, std::max(1, textWidth));
    lines.resize(limit);
    lines.last() = {last, fm.horizontalAdvance(last)};
    return lines;
}

QStringList ZLabel::figureLines() const
{
    QStringList lines = m_text.split(QLatin1Char('\n'));
    const int limit = lineLimit();
    if (limit > 0 && lines.size() > limit) {
        const QStringList rest = lines.mid(limit - 1);
        lines.resize(limit);
        lines.last() = rest.join(QLatin1Char(' ')) + QChar(0x2026);
    }
    return lines;
}

int ZLabel::naturalWidth() const
{
    // Fractional advances, rounded up: a width a fraction short of the text
    // would wrap its last word onto a line of its own.
    const QFontMetricsF fm(font());
    qreal widest = 0;
    for (const QString& paragraph : m_shrink ? figureLines() : m_text.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(paragraph));
    return static_cast<int>(std::ceil(widest)) + 1 + m_padding.left() + m_padding.right();
}

int ZLabel::hintWidth() const
{
    if (minimumWidth() == maximumWidth())
        return maximumWidth();
    if (m_preferredWidth > 0)
        return m_preferredWidth;
    return naturalWidth();
}

int ZLabel::heightForWidth(int width) const
{
    const int textWidth = width - m_padding.left() - m_padding.right();
    int n = m_numLines;
    if (n <= 0) {
        n = static_cast<int>(m_shrink ? figureLines().size() : layoutLines(textWidth).size());
        if (m_maxLines > 0)
            n = std::min(n, m_maxLines);
        n = std::max(1, n);
    }
    return n * lineHeight() + (n - 1) * m_leading + m_padding.top() + m_padding.bottom();
}

bool ZLabel::hasHeightForWidth() const
{
    return true;
}

QSize ZLabel::sizeHint() const
{
    const int w = hintWidth();
    return {w, heightForWidth(w)};
}

QSize ZLabel::minimumSizeHint() const
{
    return {0, lineHeight() + m_padding.top() + m_padding.bottom()};
}

bool ZLabel::fixedSize() const
{
    return minimumSize() == maximumSize();
}

bool ZLabel::managedByLayout() const
{
    const QWidget* parent = parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(this) >= 0;
}

void ZLabel::textChanged()
{
    // A figure in a box of its own: its size never follows the text, so a
    // new figure (every refresh) costs only the fitting.
    if (m_shrink && fixedSize()) {
        m_fitPending = true;
        update();
        return;
    }
    updateGeometry();
    if (!managedByLayout() && !m_resizing) {
        m_resizing = true;
        const QSize hint = sizeHint();
        const bool fixedHeight = minimumHeight() == maximumHeight();
        resize(hint.width(), fixedHeight ? height() : hint.height());
        m_resizing = false;
    }
    m_fitPending = true;
    update();
}

void ZLabel::fitFigure()
{
    m_shownFont = font();
    if (!m_shrink)
        return;
    const QRect area = rect().marginsRemoved(m_padding);
    const QStringList lines = figureLines();
    const int n = static_cast<int>(lines.size());
    auto overrun = [&](const QFont& f) {
        // How many times too large the lines are for the area (<= 1: they fit).
        const QFontMetricsF fm(f);
        qreal widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, std::ceil(fm.horizontalAdvance(line)));
        const qreal high = n * QFontMetrics(f).height() + (n - 1) * m_leading;
        return std::max(widest / std::max(1, area.width()), high / std::max(1, area.height()));
    };
    qreal over = overrun(m_shownFont);
    if (over <= 1.0)
        return;
    // Whole pixel sizes: a figure that changes every refresh then needs no
    // more than a few font sizes.
    QFont f = font();
    int pixels = static_cast<int>(QFontInfo(f).pixelSize() / over);
    for (;;) {
        pixels = std::max(pixels, kSmallestShrinkPixels);
        f.setPixelSize(pixels);
        over = overrun(f);
        if (over <= 1.0 || pixels == kSmallestShrinkPixels)
            break;
        --pixels;
    }
    m_shownFont = f;
}

void ZLabel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_fitPending = true;
    // Someone else set the width: the height follows the wrapped text.
    if (m_autoResize && !m_resizing && minimumHeight() != maximumHeight()) {
        const int h = heightForWidth(width());
        if (h != height()) {
            m_resizing = true;
            resize(width(), h);
            m_resizing = false;
        }
    }
}

void ZLabel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        textChanged();
}

void ZLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(m_color);
    const QRect area = rect().marginsRemoved(m_padding);
    QVector<Line> lines;
    int lineH = lineHeight();
    if (m_shrink) {
        // A figure's lines at the size that fits; only below the smallest
        // size does a line still not fit, and it is elided.
        if (m_fitPending) {
            fitFigure();
            m_fitPending = false;
        }
        p.setFont(m_shownFont);
        const QFontMetrics fm(m_shownFont);
        lineH = fm.height();
        for (const QString& line : figureLines()) {
            const QString shown = fm.elidedText(line, Qt::ElideRight, std::max(1, area.width()));
            lines.append({shown, fm.horizontalAdvance(shown)});
        }
    } else {
        lines = limitLines(layoutLines(area.width()), fontMetrics(), area.width());
    }
    const int step = lineH + m_leading;
    const int total = static_cast<int>(lines.size()) * step - m_leading;
    int y = area.top();
    if (m_alignment & Qt::AlignVCenter)
        y += std::max(0, (area.height() - total) / 2);
    else if (m_alignment & Qt::AlignBottom)
        y += std::max(0, area.height() - total);
    for (const Line& line : lines) {
        if (line.width > area.width() && area.width() > 0) {
            // Squeezed onto the line: scaled across, never cut.
            p.save();
            p.translate(area.left(), y);
            p.scale(static_cast<qreal>(area.width()) / line.width, 1.0);
            p.drawText(QRect(0, 0, line.width, lineH),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, line.text);
            p.restore();
            y += step;
            continue;
        }
        int x = area.left();
        if (m_alignment & Qt::AlignHCenter)
            x += (area.width() - line.width) / 2;
        else if (m_alignment & Qt::AlignRight)
            x += area.width() - line.width;
        p.drawText(QRect(x, y, std::max(line.width, 1), lineH),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, line.text);
        y += step;
    }
}
