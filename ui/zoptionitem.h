#pragma once

#include "ezx/zsettingitem.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <QStringList>
class ZListBox;

// One row of the settings list: a title line and the value line of one
// configuration entry. Selecting the row opens the picker of its kind; a
// confirmed pick shows the new value and marks the row modified. save()
// writes modified rows back. The QWidget part only carries the slot and the
// signal; it has no parent and is never shown.
class ZOptionItem : public QWidget, public ZSettingItem
{
    Q_OBJECT
public:
    enum Kind {
        Text = 0,
        YesNo = 1,
        OnOff = 2,
        Number = 3,
        Choice = 4,
        Colour = 5
    };

    ZOptionItem(ZListBox* list, int kind, int id);
    ~ZOptionItem() override;

    void setTitle(const QString& s);
    QString title() const { return m_title; }
    void setValueText(const QString& s);
    QString valueText() const { return m_valueText; }

    // Stores n and shows it the way the row's kind does.
    void setValue(int n);
    int value() const { return m_value; }

    // Bounds of a Number row's picker.
    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    // The entries of a Choice row; the row owns the list (null for none).
    void setChoices(QStringList* list);
    const QStringList* choices() const { return m_choices; }

    // Bind the row to an entry and show what the file holds (or the
    // default): bindText for Text and Colour rows, bindValue for the others.
    void bindText(const QString& file, const QString& group, const QString& key,
                  const QString& defaultText);
    void bindValue(const QString& file, const QString& group, const QString& key,
                   int defaultValue);

    // Writes the entry when the user confirmed a value, then emits aplly(id).
    void save();

    int id() const { return m_id; }
    int kind() const { return m_kind; }
    bool isModified() const { return m_modified; }

    // The texts of a two-state row's picker, first entry = true.
    QString trueText() const;
    QString falseText() const;

signals:
    void aplly(int id);

protected slots:
    void selected(ZSettingItem* item);

private:
    void editText();
    void editTwoState();
    void editNumber();
    void editChoice();
    void editColour();
    bool choiceInRange(int index) const;

    int m_kind;
    int m_value = 0;
    int m_minimum = 0;
    int m_maximum = 0;
    QString m_title;
    QString m_valueText;
    QStringList* m_choices = nullptr;
    bool m_modified = false;
    int m_id;
    QString m_configFile;
    QString m_group;
    QString m_key;
    QPointer<ZListBox> m_list;
};
