#include "ezx/zlistbox.h"

#include "ezx/zlistitem.h"
#include "ezx/zsettingitem.h"
#include "ezx/zskin.h"
#include "platform/logline.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int checkMarkWidth = 24;
constexpr int plainSeparatorHeight = 11;

// The marquee moves 2 pixels every 60 ms (33 pixels a second) and rests
// 1.2 s at either end.
constexpr int marqueeTickMs = 60;
constexpr int marqueeStep = 2;
constexpr int marqueePauseSteps = 20;

bool isPlainSeparator(const QString& text)
{
    return text.trimmed().isEmpty() || text.trimmed().count(QLatin1Char('-')) == text.trimmed().size();
}

// Ascending order of rows: case folded first, so that "apple" sits by "Apple".
bool sortsBefore(const QString& a, const QString& b, bool ascending)
{
    int c = QString::compare(a, b, Qt::CaseInsensitive);
    if (c == 0)
        c = QString::compare(a, b, Qt::CaseSensitive);
    return ascending ? c < 0 : c > 0;
}

const char* const scrollBarStyle =
    "QScrollBar:vertical { width: 4px; background: transparent; margin: 0; }"
    "QScrollBar::handle:vertical { background: #9aa7b5; border-radius: 2px; min-height: 16px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }";
}

ZListBox::ZListBox(const QString& layout, QWidget* parent, int flags, int skin)
    : QAbstractScrollArea(parent)
    , m_layout(layout)
{
    // flags and skin are the phone's widget flags and skin class: one look here.
    Q_UNUSED(flags);
    Q_UNUSED(skin);
    qRegisterMetaType<ZSettingItem*>();
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setStyleSheet(QLatin1String(scrollBarStyle));
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, zskin::background());
    pal.setColor(QPalette::Window, zskin::background());
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(true);
    syncScrollBar();
}

ZListBox::ZListBox(QWidget* parent, int flags, int skin)
    : ZListBox(QStringLiteral("%M"), parent, flags, skin)
{
}

ZListBox::~ZListBox()
{
    for (ZListItem* it : std::as_const(m_items)) {
        it->m_inList = false;
        delete it;
    }
}

void ZListBox::insertItem(ZListItem* item, int index, bool autoHighlight)
{
    if (!item) {
        noteLine(QStringLiteral("ZListBox::insertItem: no item"));
        return;
    }
    if (item->m_inList) {
        noteLine(QStringLiteral("ZListBox::insertItem: the item is already in a list"));
        return;
    }
    item->m_list = this;
    item->m_inList = true;
    item->m_cachedHeight = -1;

    int pos = (index < 0 || index > count()) ? count() : index;
    if (m_sortAscending)
        pos = sortedIndexFor(item);
    m_items.insert(pos, item);
    if (m_current >= pos)
        ++m_current;
    if (m_pressed >= pos)
        ++m_pressed;
    m_layoutDirty = true;
    updateScrollBar();
    viewport()->update();
    if (autoHighlight && m_current < 0 && item->isSelectable())
        setCurrentItem(pos);
}

void ZListBox::removeItem(int index)
{
    if (index < 0 || index >= count()) {
        noteLine(QStringLiteral("ZListBox::removeItem: no row %1 of %2").arg(index).arg(count()));
        return;
    }
    ZListItem* it = m_items.at(index);
    it->m_inList = false;
    forgetItem(it);
    delete it;
}

void ZListBox::forgetItem(ZListItem* item)
{
    const int index = static_cast<int>(m_items.indexOf(item));
    if (index < 0)
        return;
    item->m_inList = false;
    m_items.removeAt(index);
    m_layoutDirty = true;
    if (m_pressed == index)
        m_pressed = -1;
    else if (m_pressed > index)
        --m_pressed;

    if (m_current > index) {
        --m_current;
    } else if (m_current == index) {
        // The row that took its place, else the nearest one above.
        int next = nextSelectable(index, 1);
        if (next < 0)
            next = nextSelectable(index - 1, -1);
        m_current = next;
        restartMarquee();
        if (next >= 0)
            emit highlighted(next);
    }
    updateScrollBar();
    viewport()->update();
}

void ZListBox::clear()
{
    const QList<ZListItem*> items = std::exchange(m_items, {});
    m_current = -1;
    m_pressed = -1;
    stopMarquee();
    for (ZListItem* it : items) {
        it->m_inList = false;
        delete it;
    }
    m_layoutDirty = true;
    updateScrollBar();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

ZListItem* ZListBox::item(int index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return m_items.at(index);
}

int ZListBox::itemIndex(const ZListItem* item) const
{
    return static_cast<int>(m_items.indexOf(const_cast<ZListItem*>(item)));
}

void ZListBox::setCurrentItem(int index)
{
    if (index == -1) {
        if (m_current != -1) {
            m_current = -1;
            stopMarquee();
            viewport()->update();
        }
        return;
    }
    // An empty list has no row to highlight: nothing to say about that.
    if (count() == 0)
        return;
    if (index < 0 || index >= count()) {
        noteLine(QStringLiteral("ZListBox::setCurrentItem: no row %1 of %2").arg(index).arg(count()));
        return;
    }
    if (!m_items.at(index)->isSelectable())
        return;
    if (index == m_current) {
        ensureCurrentVisible();
        return;
    }
    m_current = index;
    restartMarquee();
    viewport()->update();
    ensureCurrentVisible();
    emit highlighted(index);
}

void ZListBox::ensureCurrentVisible()
{
    if (m_current < 0)
        return;
    syncScrollBar();
    QScrollBar* bar = verticalScrollBar();
    const int top = m_tops.at(m_current);
    const int bottom = m_tops.at(m_current + 1);
    const int view = viewport()->height();
    if (top < bar->value())
        bar->setValue(top);
    else if (bottom > bar->value() + view)
        bar->setValue(std::min(top, bottom - view));
}

void ZListBox::setItemFont(int region, const QFont& font, bool highlighted)
{
    if (region < 0 || region > 2) {
        noteLine(QStringLiteral("ZListBox::setItemFont: no region %1").arg(region));
        return;
    }
    m_fonts[region][highlighted ? 1 : 0] = font;
    invalidateHeights();
}

QFont ZListBox::lineFont(bool emphasized, bool highlighted) const
{
    const int region = emphasized ? 0 : 1;
    const int h = highlighted ? 1 : 0;
    for (const std::optional<QFont>* f :
         {&m_fonts[region][h], &m_fonts[2][h], &m_fonts[region][1 - h], &m_fonts[2][1 - h]}) {
        if (f->has_value())
            return **f;
    }
    QFont f = font();
    if (!emphasized) {
        if (f.pointSize() > 0)
            f.setPointSize(std::max(6, f.pointSize() - 2));
        else if (f.pixelSize() > 0)
            f.setPixelSize(std::max(8, f.pixelSize() - 2));
    }
    return f;
}

int ZListBox::lineFontHeight(bool emphasized) const
{
    std::optional<int>& height = m_lineHeights[emphasized ? 1 : 0];
    if (!height)
        height = QFontMetrics(lineFont(emphasized, false)).height();
    return *height;
}

void ZListBox::sort(bool ascending)
{
    m_sortAscending = ascending;
    ZListItem* current = item(m_current);
    std::stable_sort(m_items.begin(), m_items.end(), [ascending](ZListItem* a, ZListItem* b) {
        return sortsBefore(a->sortText(), b->sortText(), ascending);
    });
    m_current = current ? itemIndex(current) : -1;
    m_pressed = -1;
    m_layoutDirty = true;
    viewport()->update();
}

int ZListBox::sortedIndexFor(const ZListItem* item) const
{
    const bool ascending = *m_sortAscending;
    const QString key = item->sortText();
    // After the rows that sort equal, so that equal rows keep their order.
    const auto it = std::upper_bound(m_items.begin(), m_items.end(), key,
                                     [ascending](const QString& k, ZListItem* row) {
                                         return sortsBefore(k, row->sortText(), ascending);
                                     });
    return static_cast<int>(it - m_items.begin());
}

void ZListBox::checkItem(int index, bool checked)
{
    if (index < 0 || index >= count()) {
        noteLine(QStringLiteral("ZListBox::checkItem: no row %1 of %2").arg(index).arg(count()));
        return;
    }
    if (checked) {
        for (ZListItem* it : std::as_const(m_items))
            it->m_checked = false;
        m_checkable = true;
    }
    m_items.at(index)->m_checked = checked;
    viewport()->update();
}

bool ZListBox::isChecked(int index) const
{
    const ZListItem* it = item(index);
    return it && it->m_checked;
}

int ZListBox::checkedIndex() const
{
    for (int i = 0; i < count(); ++i) {
        if (m_items.at(i)->m_checked)
            return i;
    }
    return -1;
}

void ZListBox::setCheckable(bool on)
{
    m_checkable = on;
    viewport()->update();
}

int ZListBox::itemAt(const QPoint& pos) const
{
    if (pos.x() < 0 || pos.x() >= viewport()->width())
        return -1;
    relayout();
    const int y = pos.y() + verticalScrollBar()->value();
    if (y < 0 || y >= m_tops.last())
        return -1;
    const auto it = std::upper_bound(m_tops.begin(), m_tops.end(), y);
    return static_cast<int>(it - m_tops.begin()) - 1;
}

QRect ZListBox::itemRect(int index) const
{
    if (index < 0 || index >= count())
        return QRect();
    relayout();
    const int top = m_tops.at(index) - verticalScrollBar()->value();
    return QRect(0, top, viewport()->width(), m_tops.at(index + 1) - m_tops.at(index));
}

QSize ZListBox::sizeHint() const
{
    relayout();
    const int rows = std::clamp(m_tops.last(), zskin::listRowHeight, 6 * zskin::listRowHeight);
    return QSize(zskin::screenWidth, rows + 2 * frameWidth());
}

QSize ZListBox::minimumSizeHint() const
{
    return QSize(60, zskin::listRowHeight);
}

int ZListBox::heightOf(ZListItem* it) const
{
    if (it->m_cachedHeight < 0) {
        int h;
        if (!it->isSeparator())
            h = it->rowHeight(*this);
        else if (isPlainSeparator(it->m_separatorText))
            h = plainSeparatorHeight;
        else
            h = lineFontHeight(false) + 6;
        it->m_cachedHeight = h + 1;  // the rule below the row
    }
    return it->m_cachedHeight;
}

void ZListBox::relayout() const
{
    if (!m_layoutDirty)
        return;
    m_tops.resize(m_items.size() + 1);
    int y = 0;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        m_tops[i] = y;
        y += heightOf(m_items.at(i));
    }
    m_tops[m_items.size()] = y;
    m_layoutDirty = false;
}

void ZListBox::invalidateHeights()
{
    m_lineHeights[0].reset();
    m_lineHeights[1].reset();
    for (ZListItem* it : std::as_const(m_items))
        it->m_cachedHeight = -1;
    m_layoutDirty = true;
    restartMarquee();
    updateScrollBar();
    viewport()->update();
}

void ZListBox::itemChanged(ZListItem* it)
{
    it->m_cachedHeight = -1;
    m_layoutDirty = true;
    const int index = itemIndex(it);
    if (index >= 0 && index == m_current) {
        if (!it->isSelectable()) {
            int next = nextSelectable(index, 1);
            if (next < 0)
                next = nextSelectable(index, -1);
            m_current = next;
            if (next >= 0)
                emit highlighted(next);
        }
        // The current row's texts changed (or another row became current).
        restartMarquee();
    }
    updateScrollBar();
    viewport()->update();
}

void ZListBox::updateScrollBar()
{
    if (m_scrollBarPending)
        return;
    m_scrollBarPending = true;
    QMetaObject::invokeMethod(this, &ZListBox::syncScrollBar, Qt::QueuedConnection);
}

void ZListBox::syncScrollBar()
{
    m_scrollBarPending = false;
    relayout();
    QScrollBar* bar = verticalScrollBar();
    const int view = viewport()->height();
    bar->setRange(0, std::max(0, m_tops.last() - view));
    bar->setPageStep(std::max(1, view));
    bar->setSingleStep(zskin::listRowHeight);
}

int ZListBox::nextSelectable(int from, int step) const
{
    for (int i = from; i >= 0 && i < count(); i += step) {
        if (m_items.at(i)->isSelectable())
            return i;
    }
    return -1;
}

void ZListBox::select(int index)
{
    ZListItem* it = item(index);
    if (!it || !it->isSelectable())
        return;
    // A receiver may rebuild or delete the list; the second signal only goes
    // out while the row still exists.
    QPointer<ZListBox> self(this);
    emit selected(index);
    if (!self || item(index) != it)
        return;
    emit selected(dynamic_cast<ZSettingItem*>(it));
}

void ZListBox::paintEvent(QPaintEvent*)
{
    // Rows changed since the last turn of the event loop: the bar first, so
    // that the offset below is within the rows.
    if (m_scrollBarPending)
        syncScrollBar();
    QPainter p(viewport());
    relayout();
    const int offset = verticalScrollBar()->value();
    const int width = viewport()->width();
    const int bottom = viewport()->height();
    auto first = std::upper_bound(m_tops.begin(), m_tops.end(), offset);
    int i = std::max(0, static_cast<int>(first - m_tops.begin()) - 1);
    for (; i < count() && m_tops.at(i) - offset < bottom; ++i) {
        const ZListItem* it = m_items.at(i);
        const int top = m_tops.at(i) - offset;
        const int h = m_tops.at(i + 1) - m_tops.at(i) - 1;
        const QRect row(0, top, width, h);
        const bool current = i == m_current;
        if (current)
            p.fillRect(row, zskin::highlight());

        if (it->isSeparator()) {
            const QString text = it->m_separatorText.trimmed();
            int x = 6;
            if (!it->m_separatorPixmap.isNull()) {
                const QPixmap& pix = it->m_separatorPixmap;
                p.drawPixmap(x, top + (h - pix.height()) / 2, pix);
                x += pix.width() + 4;
            }
            if (!isPlainSeparator(text)) {
                p.setFont(lineFont(false, false));
                p.setPen(zskin::dimText());
                const QRect box(x, top, width - x - 6, h);
                QRect used;
                p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text, &used);
                x = used.right() + 6;
            }
            p.setPen(zskin::rule());
            if (x < width - 6)
                p.drawLine(x, top + h / 2, width - 6, top + h / 2);
        } else {
            QRect content = row;
            if (m_checkable)
                content.setRight(content.right() - checkMarkWidth);
            it->paintRow(p, content, *this, current);
            if (m_checkable) {
                p.save();
                p.setRenderHint(QPainter::Antialiasing);
                const QColor ink = current ? zskin::highlightText() : zskin::dimText();
                const QPointF centre(width - checkMarkWidth / 2.0, top + h / 2.0);
                p.setPen(QPen(ink, 1.5));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(centre, 6.5, 6.5);
                if (it->m_checked) {
                    p.setPen(Qt::NoPen);
                    p.setBrush(current ? zskin::highlightText() : zskin::highlight());
                    p.drawEllipse(centre, 3.5, 3.5);
                }
                p.restore();
            }
        }
        p.setPen(zskin::rule());
        p.drawLine(0, top + h, width, top + h);
    }
}

void ZListBox::keyPressEvent(QKeyEvent* event)
{
    int target = -2;
    switch (event->key()) {
    case Qt::Key_Up:
        target = m_current < 0 ? nextSelectable(0, 1) : nextSelectable(m_current - 1, -1);
        break;
    case Qt::Key_Down:
        target = m_current < 0 ? nextSelectable(0, 1) : nextSelectable(m_current + 1, 1);
        break;
    case Qt::Key_Home:
        target = nextSelectable(0, 1);
        break;
    case Qt::Key_End:
        target = nextSelectable(count() - 1, -1);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int step = event->key() == Qt::Key_PageUp ? -1 : 1;
        const int rows = std::max(1, viewport()->height() / zskin::listRowHeight - 1);
        int at = m_current;
        for (int n = 0; n < rows; ++n) {
            const int next = nextSelectable(at < 0 ? 0 : at + step, step);
            if (next < 0)
                break;
            at = next;
        }
        target = at;
        break;
    }
    case Qt::Key_Left:
    case Qt::Key_Right:
        // A list has no sideways movement: these keys travel on to the
        // tabs around it (the scroll area would spend them on its bar).
        event->ignore();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_current < 0) {
            event->ignore();
            return;
        }
        event->accept();
        select(m_current);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    // At the first or last row the key is spent: the list does not wrap.
    if (target >= 0)
        setCurrentItem(target);
}

void ZListBox::mousePressEvent(QMouseEvent* event)
{
    m_pressed = -1;
    if (event->button() != Qt::LeftButton)
        return;
    const int index = itemAt(event->position().toPoint());
    ZListItem* it = item(index);
    if (!it || !it->isSelectable())
        return;
    m_pressed = index;
    setCurrentItem(index);
}

void ZListBox::mouseReleaseEvent(QMouseEvent* event)
{
    const int pressed = std::exchange(m_pressed, -1);
    if (event->button() != Qt::LeftButton || pressed < 0)
        return;
    if (itemAt(event->position().toPoint()) == pressed)
        select(pressed);
}

void ZListBox::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    syncScrollBar();
    restartMarquee();
}

void ZListBox::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    restartMarquee();
}

void ZListBox::hideEvent(QHideEvent* event)
{
    QAbstractScrollArea::hideEvent(event);
    stopMarquee();
}

bool ZListBox::isMarqueeRunning() const
{
    return m_marqueeTimer && m_marqueeTimer->isActive();
}

void ZListBox::restartMarquee()
{
    const ZListItem* it = item(m_current);
    if (!it || !isVisible() || it->isSeparator()) {
        stopMarquee();
        return;
    }
    int width = viewport()->width();
    if (m_checkable)
        width -= checkMarkWidth;
    const QRect row(0, 0, width, heightOf(const_cast<ZListItem*>(it)) - 1);
    const int room = it->textOverflow(row, *this);
    if (room <= 0) {
        stopMarquee();
        return;
    }
    m_marqueeRoom = room;
    m_marqueeOffset = 0;
    m_marqueeWait = marqueePauseSteps;
    m_marqueeAtEnd = false;
    if (!m_marqueeTimer) {
        m_marqueeTimer = new QTimer(this);
        m_marqueeTimer->setInterval(marqueeTickMs);
        connect(m_marqueeTimer, &QTimer::timeout, this, &ZListBox::stepMarquee);
    }
    if (!m_marqueeTimer->isActive())
        m_marqueeTimer->start();
}

void ZListBox::stopMarquee()
{
    if (m_marqueeTimer)
        m_marqueeTimer->stop();
    const bool moved = m_marqueeOffset != 0;
    m_marqueeRoom = 0;
    m_marqueeOffset = 0;
    m_marqueeAtEnd = false;
    if (moved)
        viewport()->update();
}

void ZListBox::stepMarquee()
{
    if (m_marqueeRoom <= 0 || m_current < 0)
        return;
    if (m_marqueeWait > 0) {
        --m_marqueeWait;
        return;
    }
    if (m_marqueeAtEnd) {
        // Back to the start, and rest there before the next round.
        m_marqueeOffset = 0;
        m_marqueeAtEnd = false;
        m_marqueeWait = marqueePauseSteps;
    } else {
        m_marqueeOffset = std::min(m_marqueeOffset + marqueeStep, m_marqueeRoom);
        if (m_marqueeOffset == m_marqueeRoom) {
            m_marqueeAtEnd = true;
            m_marqueeWait = marqueePauseSteps;
        }
    }
    viewport()->update(itemRect(m_current));
}

void ZListBox::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        invalidateHeights();
}
