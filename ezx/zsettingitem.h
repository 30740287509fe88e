#pragma once

// A list row made of fields (see zlistlayout.h): icon fields show a picture,
// text fields a picture and one or more lines of text. Emphasized lines use
// the list box's region-0 font, the others its region-1 font, smaller and
// dimmer. A row with two lines is taller than a row with one.
#include "ezx/zlistitem.h"
#include "ezx/zlistlayout.h"

#include <QList>
#include <QMetaType>

#include <functional>

class ZSettingItem : public ZListItem
{
public:
    ZSettingItem(ZListBox* list, const QString& layout);
    ~ZSettingItem() override;

    // Appends a text line to a field; a picture, when given, becomes the
    // field's picture too.
    void appendSubItem(int field, const QString& text, bool emphasized = true,
                       const QPixmap* pix = nullptr);
    // Replaces line `line` of a field (appends when it is the next line).
    // `region` is the phone's highlight region of the line; it is kept but the
    // font follows `emphasized`.
    void setSubItem(int field, int line, const QString& text, bool emphasized,
                    int region = 0);
    // The text of a line, or a null text when there is no such line.
    QString subItem(int field, int line) const;
    int subItemCount(int field) const;
    bool isEmphasized(int field, int line) const;

    void setPixmap(int field, const QPixmap& pixmap);
    // A picture made when the row is first drawn or its picture first asked
    // for, so that rows never seen in a long list cost no picture. It must
    // fit a square of zskin::iconSize: the row is laid out as if it had one.
    void setPixmapLoader(int field, std::function<QPixmap()> loader);
    QPixmap pixmap(int field) const;

    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    ZListField field(int index) const;

    // The first line of the first text field that has one.
    QString sortText() const override;

protected:
    int rowHeight(const ZListBox& list) const override;
    void paintRow(QPainter& painter, const QRect& rect, const ZListBox& list,
                  bool current) const override;
    int textOverflow(const QRect& rect, const ZListBox& list) const override;

private:
    struct Line
    {
        QString text;
        bool emphasized = true;
        int region = 0;
    };
    struct Field
    {
        ZListField spec;
        // Made on first use when a loader is set (both change in const
        // methods, once).
        mutable QPixmap pixmap;
        mutable std::function<QPixmap()> loader;
        QList<Line> lines;
    };
    bool validField(int field, const char* operation) const;
    static void loadPixmap(const Field& f);
    int linesHeight(const Field& f, const ZListBox& list) const;
    // The box of each field in a row drawn into rect (an empty box for a
    // field with no room left).
    QList<QRect> fieldBoxes(const QRect& rect) const;
    // Where a text field's lines go: its box less the padding and the
    // field's own picture.
    static QRect textBoxOf(const Field& f, const QRect& box);

    QList<Field> m_fields;
};

Q_DECLARE_METATYPE(ZSettingItem*)
