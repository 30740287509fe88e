#pragma once

// A popup that asks for one line of text: title, an optional prompt, a line
// edit; OK (left soft key, or Return in the line edit) or Cancel.
#include "ezx/zpopup.h"

#include <QPointer>

class QLabel;
class QLineEdit;

class ZSingleCaptureDlg : public ZPopup
{
    Q_OBJECT
public:
    // captureType: the phone's input kind; every kind takes plain text here.
    ZSingleCaptureDlg(const QString& title, const QString& text, int captureType,
                      QWidget* parent, const char* name = nullptr, bool modal = true,
                      int = 0, int = 0);
    ~ZSingleCaptureDlg() override;

    // The caller may delete the line edit before the popup.
    QLineEdit* getLineEdit() const;

private:
    QLabel* m_prompt = nullptr;
    QPointer<QLineEdit> m_edit;
};
