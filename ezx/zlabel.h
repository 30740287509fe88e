#pragma once

#include <QColor>
#include <QMargins>
#include <QString>
#include <QVector>
#include <QTextOption>
#include <QWidget>

// A text of one or more lines ("\n" breaks; long lines wrap at the width).
// setAlignment takes Qt::Alignment flags or the phone's flag 4 (centred
// horizontally).
//
// Its size hint is the fixed width, else the preferred width, else the
// text's own width; and the height of its lines there (of setNumLines lines
// when set). A label that no layout manages (placed at a position on a
// panel) keeps itself at that size whenever its text or look changes. With
// auto-resize on, the height also follows the wrapped text when someone
// else changes the width.
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
    // At most n lines are shown (0 = no limit).
    void setNumLines(int n);
    int numLines() const;
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
    QVector<Line> layoutParagraph(const QString& paragraph, int textWidth,
                                  QTextOption::WrapMode mode) const;
    int naturalWidth() const;
    int hintWidth() const;
    int lineHeight() const;
    bool managedByLayout() const;
    void textChanged();

    QString m_text;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    int m_preferredWidth = 0;
    int m_numLines = 0;
    int m_leading = 0;
    QMargins m_padding;
    bool m_autoResize = false;
    QColor m_color;
    bool m_resizing = false;
};
