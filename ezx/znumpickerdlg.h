#pragma once

// A number picker: ZNumModule shows a number kept within [min, max]; Up/Down
// step it, digit keys type it, Backspace or the clear key (C) take the last
// typed digit back. ZNumPickerDlg is the popup around one module.
#include "ezx/zpopup.h"

#include <QPointer>
#include <QWidget>

class ZNumModule : public QWidget
{
    Q_OBJECT
public:
    explicit ZNumModule(QWidget* parent = nullptr);
    ~ZNumModule() override;

    // Narrowing the range pulls the value inside it; a minimum above the
    // maximum drags the other bound along.
    void setMaxValue(int max);
    void setMinValue(int min);
    int maxValue() const { return m_max; }
    int minValue() const { return m_min; }
    void setValue(int value);
    int getValue() const { return m_value; }

    QSize sizeHint() const override;

signals:
    void valueChanged(int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyValue(int value);

    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
    QString m_typed;  // digits typed since the last step key
};

class ZNumPickerDlg : public ZPopup
{
    Q_OBJECT
public:
    // type: the phone's picker kind; every kind shows one number here.
    ZNumPickerDlg(int type, QWidget* parent, const char* name = nullptr, int flags = 0);
    ~ZNumPickerDlg() override;

    // The caller may delete the module before the popup.
    ZNumModule* getNumModule() const;

private:
    QPointer<ZNumModule> m_module;
};
