#include "ezx/zcolorpickerdlg.h"

#include "ezx/zskin.h"
#include "platform/logline.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int swatch = 28;
constexpr int gap = 6;
constexpr int maxTable = 256;  // more than any picker shows
}

ZColorGrid::ZColorGrid(const QList<QColor>& colors, QWidget* parent)
    : QWidget(parent)
    , m_colors(colors)
{
    if (m_colors.isEmpty())
        m_colors.append(QColor(Qt::black));
    setFocusPolicy(Qt::StrongFocus);
}

void ZColorGrid::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    m_current = index;
    update();
    emit currentChanged(index);
}

QColor ZColorGrid::currentColor() const
{
    return m_colors.at(m_current);
}

QRect ZColorGrid::swatchRect(int index) const
{
    const int gridWidth = m_columns * swatch + (m_columns - 1) * gap;
    const int left = std::max(0, (width() - gridWidth) / 2);
    const int col = index % m_columns;
    const int row = index / m_columns;
    return QRect(left + col * (swatch + gap), 3 + row * (swatch + gap), swatch, swatch);
}

QSize ZColorGrid::sizeHint() const
{
    const int rows = (count() + m_columns - 1) / m_columns;
    return QSize(m_columns * swatch + (m_columns - 1) * gap + 6, rows * (swatch + gap) - gap + 6);
}

void ZColorGrid::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count(); ++i) {
        const QRectF r = QRectF(swatchRect(i)).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(zskin::rule(), 1));
        p.setBrush(m_colors.at(i));
        p.drawRoundedRect(r, 3, 3);
        if (i == m_current) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::white, 2));
            p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 2, 2);
            p.setPen(QPen(hasFocus() ? zskin::highlight() : zskin::dimText(), 2.5));
            p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), 4, 4);
        }
    }
}

void ZColorGrid::keyPressEvent(QKeyEvent* event)
{
    int next = m_current;
    switch (event->key()) {
    case Qt::Key_Left:
        next = m_current - 1;
        break;
    case Qt::Key_Right:
        next = m_current + 1;
        break;
    case Qt::Key_Up:
        next = m_current - m_columns;
        break;
    case Qt::Key_Down:
        next = m_current + m_columns;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (next >= 0 && next < count())
        setCurrentIndex(next);
}

void ZColorGrid::mousePressEvent(QMouseEvent* event)
{
    for (int i = 0; i < count(); ++i) {
        if (swatchRect(i).contains(event->position().toPoint())) {
            setCurrentIndex(i);
            return;
        }
    }
}

QList<QColor> ZColorPickerDlg::defaultPalette()
{
    static const char* const names[] = {
        "#000000", "#ffffff", "#808080", "#c0c0c0", "#800000", "#ff0000",
        "#ff8000", "#ffff00", "#808000", "#00ff00", "#008000", "#008080",
        "#00ffff", "#0000ff", "#000080", "#8000ff", "#800080", "#ff00ff",
        "#804000", "#ff80c0"};
    QList<QColor> colors;
    for (const char* n : names)
        colors.append(QColor::fromString(QLatin1String(n)));
    return colors;
}

ZColorPickerDlg::ZColorPickerDlg(const QColor& initial, const QColor* table, int count,
                                 QWidget* parent, const char* name, int flags)
    : ZPopup(0, parent, name, true, 0, flags)
{
    QColor first = initial;
    if (!first.isValid()) {
        noteLine(QStringLiteral("ZColorPickerDlg: no valid initial colour, using black"));
        first = QColor(Qt::black);
    }
    QList<QColor> offered;
    if (table && count > 0) {
        if (count > maxTable) {
            noteLine(QStringLiteral("ZColorPickerDlg: %1 colours offered, showing %2")
                         .arg(count)
                         .arg(maxTable));
            count = maxTable;
        }
        for (int i = 0; i < count; ++i)
            offered.append(table[i]);
    } else {
        if (table)
            noteLine(QStringLiteral("ZColorPickerDlg: empty colour table, using the palette"));
        offered = defaultPalette();
    }

    // The initial colour leads; the table does not repeat it.
    QList<QColor> colors{first};
    for (const QColor& c : std::as_const(offered)) {
        if (c.isValid() && c.rgb() != first.rgb())
            colors.append(c);
    }

    setTitle(phoneText("TXT_RID_OPTION_TEXT_COLOR", "Text Color"));
    m_grid = new ZColorGrid(colors, this);
    insertChild(m_grid);
    auto* shown = new QLabel(this);
    shown->setAlignment(Qt::AlignCenter);
    insertChild(shown);
    auto showName = [this, shown] {
        shown->setText(m_grid->currentColor().name());
    };
    connect(m_grid, &ZColorGrid::currentChanged, shown, showName);
    showName();
    m_grid->setFocus();

    setSoftkeyTextLeft(phoneText("TXT_RID_SOFTKEY_OK", "OK"));
    setSoftkeyTextRight(phoneText("TXT_RID_SOFTKEY_CANCEL", "Cancel"));
}

ZColorPickerDlg::~ZColorPickerDlg() = default;

QColor ZColorPickerDlg::getColor() const
{
    return m_grid->currentColor();
}
