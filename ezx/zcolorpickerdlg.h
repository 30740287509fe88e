#pragma once

// A colour picker: a grid of swatches, the initial colour first. Arrow keys
// or a click choose a swatch; the left soft key (or select) confirms.
#include "ezx/zpopup.h"

#include <QColor>
#include <QList>
#include <QWidget>

// The grid of swatches inside the picker.
class ZColorGrid : public QWidget
{
    Q_OBJECT
public:
    explicit ZColorGrid(const QList<QColor>& colors, QWidget* parent = nullptr);

    int columns() const { return m_columns; }
    int count() const { return static_cast<int>(m_colors.size()); }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    QColor currentColor() const;
    QRect swatchRect(int index) const;

    QSize sizeHint() const override;

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QList<QColor> m_colors;
    int m_columns = 6;
    int m_current = 0;
};

class ZColorPickerDlg : public ZPopup
{
    Q_OBJECT
public:
    // table: `count` colours to offer; a null table (or no count) offers the
    // phone's palette. An invalid initial colour reads as black.
    ZColorPickerDlg(const QColor& initial, const QColor* table, int count, QWidget* parent,
                    const char* name = nullptr, int flags = 0);
    ~ZColorPickerDlg() override;

    QColor getColor() const;
    ZColorGrid* grid() const { return m_grid; }

    // The colours offered when no table is given.
    static QList<QColor> defaultPalette();

private:
    ZColorGrid* m_grid = nullptr;
};
