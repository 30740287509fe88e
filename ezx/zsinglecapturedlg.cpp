#include "ezx/zsinglecapturedlg.h"

#include "ezx/zskin.h"

#include <QLabel>
#include <QLineEdit>

ZSingleCaptureDlg::ZSingleCaptureDlg(const QString& title, const QString& text, int captureType,
                                     QWidget* parent, const char* name, bool modal, int, int)
    : ZPopup(0, parent, name, modal)
{
    Q_UNUSED(captureType);
    setTitle(title);

    m_prompt = new QLabel(text, this);
    m_prompt->setWordWrap(true);
    m_prompt->setVisible(!text.isEmpty());
    insertChild(m_prompt);
    m_prompt->setVisible(!text.isEmpty());

    m_edit = new QLineEdit(this);
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; border-radius: 2px;"
                                         " padding: 3px; background: white; color: %2; }"
                                         "QLineEdit:focus { border-color: %3; }")
                              .arg(zskin::rule().name(), zskin::text().name(),
                                   zskin::highlight().name()));
    insertChild(m_edit);
    m_edit->setFocus();

    setSoftkeyTextLeft(phoneText("TXT_RID_SOFTKEY_OK", "OK"));
    setSoftkeyTextRight(phoneText("TXT_RID_SOFTKEY_CANCEL", "Cancel"));
}

ZSingleCaptureDlg::~ZSingleCaptureDlg() = default;

QLineEdit* ZSingleCaptureDlg::getLineEdit() const
{
    return m_edit;
}
