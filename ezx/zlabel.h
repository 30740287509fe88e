#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QString>
#include <QStringList>
#include <QTextOption>
#include <QVector>
#include <QWidget>

class QFontMetrics;

// A text of one or more lines ("\n" breaks; long lines wrap at the width).
// setAlignment takes Qt::Alignment flags or the phone's flag 4 (centred
// horizontally).
//
// Its size hint is the fixed width, else the preferred width, else the
// text's own width; and the height of its lines there (of setNumLines lines
// when set). A label that no layout manages (placed at a position on a
// panel) keeps itself at that size whenever its text or look changes. With
// auto-resize on, the height also follows the wrapped text when someone
// else changes the width. Lines beyond a limit (setNumLines, setMaxLines)
// are not drawn; the last line drawn then ends in "…".
//
// A figure ("312MHz\n17%") is shown with shrink-to-fit: each of its lines
// stays whole on a line of its own, drawn at the label's font or, when the
// lines do not fit the label's box at that font, at the largest smaller
// size that does.
class ZLabel : public QWidget
{
    Q_OBJECT
public:
    // The phone's alignment flag for "centred horizontally".
    static constexpr int PhoneAlignCenter = 4;

    ZLabel(const QString& text, QWidget* parent = nullptr, const char* name = nullptr,
           int flags = 0, int skin = 0);
    ~ZLabel() override;

    void setText(const QString& text);
    QString text() const;

    void setFont(const QFont& font);
    // QWidget's, followed by the height when the label sizes itself (a
    // hidden widget gets no resize event to follow it by).
    void setFixedWidth(int width);

    void setAlignment(int alignment);
    Qt::Alignment alignment() const;

    void setPreferredWidth(int width);
    int preferredWidth() const;
    // At most n lines are shown (0 = no limit), and the label is n lines high.
    void setNumLines(int n);
    int numLines() const;
    // At most n lines are shown (0 = no limit); the label is as high as the
    // lines it shows.
    void setMaxLines(int n);
    int maxLines() const;
    // Extra pixels between lines.
    void setLeading(int leading);
    int leading() const;
    void setPadding(int all);
    void setPadding(int left, int top, int right, int bottom);
    QMargins padding() const;

    void setAutoResize(bool on);
    bool autoResize() const;

    void setFontColor(const QColor& color);
    QColor fontColor() const;

    // Shrink-to-fit (see above). The label does not grow with its text
    // then: give it the box it may fill (setFixedSize), and the text keeps
    // within it. Below kSmallestShrinkPixels the lines end in "…" instead.
    void setShrinkToFit(bool on);
    bool shrinkToFit() const;
    static constexpr int kSmallestShrinkPixels = 7;

    // Height the text needs at a given outer width, padding included.
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Line
    {
        QString text;
        int width;
    };
    QVector<Line> layoutLines(int textWidth) const;
    // The lines a text is cut to by the line limits, the last one elided
    // when some are left out.
    QVector<Line> limitLines(QVector<Line> lines, const QFontMetrics& fm, int textWidth) const;
    int lineLimit() const;
    // A figure's lines: one per line of its text, within the line limit.
    QStringList figureLines() const;
    // Picks the size a figure is drawn at (m_shownFont).
    void fitFigure();
    QVector<Line> layoutParagraph(const QString& paragraph, int textWidth,
                                  QTextOption::WrapMode mode) const;
    int naturalWidth() const;
    int hintWidth() const;
    int lineHeight() const;
    bool managedByLayout() const;
    bool fixedSize() const;
    void textChanged();

    QString m_text;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    int m_preferredWidth = 0;
    int m_numLines = 0;
    int m_maxLines = 0;
    bool m_shrink = false;
    QFont m_shownFont;  // a figure's font, shrunk to fit
    // The fitting waits for the next paint: a label off screen, or one
    // whose text changes several times between two paints, fits once.
    bool m_fitPending = true;
    int m_leading = 0;
    QMargins m_padding;
    bool m_autoResize = false;
    QColor m_color;
    bool m_resizing = false;
};
