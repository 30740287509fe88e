#pragma once

// A popup with a list of texts of which one is checked: selecting a row
// checks it, the left soft key confirms.
#include "ezx/zpopup.h"

class QLabel;
class ZListBox;

class ZSingleSelectDlg : public ZPopup
{
    Q_OBJECT
public:
    ZSingleSelectDlg(const QString& title, const QString& text, QWidget* parent,
                     const char* name = nullptr, bool modal = true, int = 0, int = 0);
    ~ZSingleSelectDlg() override;

    void addItemsList(const QStringList& texts);
    ZListBox* getListBox() const { return m_list; }
    // The checked row, -1 when none.
    int getCheckedItemIndex() const;

public slots:
    // Confirming without a checked row checks the current one.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void rowSelected(int index);

private:
    QLabel* m_prompt = nullptr;
    ZListBox* m_list = nullptr;
};
