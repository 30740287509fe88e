#include "ezx/zsingleselectdlg.h"

#include "ezx/zlistbox.h"
#include "ezx/zlistboxitem.h"

#include <QLabel>

ZSingleSelectDlg::ZSingleSelectDlg(const QString& title, const QString& text, QWidget* parent,
                                   const char* name, bool modal, int, int)
    : ZPopup(0, parent, name, modal)
{
    setTitle(title);

    m_prompt = new QLabel(text, this);
    m_prompt->setWordWrap(true);
    insertChild(m_prompt);
    m_prompt->setVisible(!text.isEmpty());

    m_list = new ZListBox(this);
    m_list->setCheckable(true);
    insertChild(m_list);
    connect(m_list, qOverload<int>(&ZListBox::selected), this, &ZSingleSelectDlg::rowSelected);
    m_list->setFocus();

    setSoftkeyTextLeft(phoneText("TXT_RID_SOFTKEY_OK", "OK"));
    setSoftkeyTextRight(phoneText("TXT_RID_SOFTKEY_CANCEL", "Cancel"));
}

ZSingleSelectDlg::~ZSingleSelectDlg() = default;

void ZSingleSelectDlg::addItemsList(const QStringList& texts)
{
    for (const QString& text : texts)
        m_list->insertItem(new ZListBoxItem(m_list, text), -1, true);
    m_list->updateGeometry();
}

int ZSingleSelectDlg::getCheckedItemIndex() const
{
    return m_list->checkedIndex();
}

void ZSingleSelectDlg::accept()
{
    if (m_list->checkedIndex() < 0 && m_list->currentItem() >= 0)
        m_list->checkItem(m_list->currentItem(), true);
    ZPopup::accept();
}

void ZSingleSelectDlg::showEvent(QShowEvent* event)
{
    // Open on the checked row.
    const int checked = m_list->checkedIndex();
    if (checked >= 0)
        m_list->setCurrentItem(checked);
    ZPopup::showEvent(event);
    m_list->ensureCurrentVisible();
    m_list->setFocus();
}

void ZSingleSelectDlg::rowSelected(int index)
{
    m_list->checkItem(index, true);
}
