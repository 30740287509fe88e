#include "ui/zoptionitem.h"

#include "ezx/zcolorpickerdlg.h"
#include "ezx/zlistbox.h"
#include "ezx/znumpickerdlg.h"
#include "ezx/zsinglecapturedlg.h"
#include "ezx/zsingleselectdlg.h"
#include "platform/logline.h"
#include "platform/zconfig.h"

#include <QColor>
#include <QLineEdit>
#include <QStringList>

namespace {
constexpr int titleLine = 0;
constexpr int valueLine = 1;
constexpr int lineRegion = 1;
constexpr int captureType = 0;
constexpr int numPickerType = 2;
}

ZOptionItem::ZOptionItem(ZListBox* list, int kind, int id)
    : QWidget(nullptr, Qt::WindowFlags())
    , ZSettingItem(list, QStringLiteral("%M"))
    , m_kind(kind)
    , m_title(QStringLiteral(""))
    , m_valueText(QStringLiteral(""))
    , m_id(id)
    , m_configFile(QStringLiteral(""))
    , m_list(list)
{
    appendSubItem(0, QStringLiteral(" "), true);
    appendSubItem(0, QStringLiteral(" "), false);
    if (!list) {
        logLine(QStringLiteral("ZOptionItem: row %1 has no list box").arg(id));
        return;
    }
    // Every row of the list hears every selection and answers only its own.
    connect(list, qOverload<ZSettingItem*>(&ZListBox::selected), this, &ZOptionItem::selected);
}

ZOptionItem::~ZOptionItem()
{
    if (m_list)
        disconnect(m_list, qOverload<ZSettingItem*>(&ZListBox::selected), this,
                   &ZOptionItem::selected);
    delete m_choices;
}

void ZOptionItem::setTitle(const QString& s)
{
    m_title = s;
    setSubItem(0, titleLine, s, true, lineRegion);
}

void ZOptionItem::setValueText(const QString& s)
{
    m_valueText = s;
    setSubItem(0, valueLine, s, false, lineRegion);
}

QString ZOptionItem::trueText() const
{
    return m_kind == YesNo ? tr("TXT_RID_CLI_SOFTKEY_YES", "Yes") : tr("TXT_RID_SETTING_B_ON", "On");
}

QString ZOptionItem::falseText() const
{
    return m_kind == YesNo ? tr("TXT_RID_CLI_SOFTKEY_NO", "No") : tr("TXT_RID_SETTING_B_OFF", "Off");
}

bool ZOptionItem::choiceInRange(int index) const
{
    return m_choices && index >= 0 && index < m_choices->size();
}

void ZOptionItem::setValue(int n)
{
    m_value = n;
    switch (m_kind) {
    case YesNo:
    case OnOff:
        setValueText(n != 0 ? trueText() : falseText());
        break;
    case Number:
        setValueText(QString::number(n, 10));
        break;
    case Choice:
        if (!m_choices)
            break;
        if (choiceInRange(n)) {
            setValueText(m_choices->at(n));
        } else {
            // A hand-edited file can hold anything; never index with it.
            logLine(QStringLiteral("ZOptionItem: %1 is no entry of row %2").arg(n).arg(m_id));
            setValueText(QString());
        }
        break;
    default:
        break;
    }
}

void ZOptionItem::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void ZOptionItem::setChoices(QStringList* list)
{
    if (list == m_choices)
        return;
    delete m_choices;
    m_choices = list;
}

void ZOptionItem::bindText(const QString& file, const QString& group, const QString& key,
                           const QString& defaultText)
{
    m_configFile = file;
    m_group = group;
    m_key = key;
    const ZConfig cfg(file, false);
    if (m_kind == Text || m_kind == Colour)
        setValueText(cfg.readEntry(group, key, defaultText));
}

void ZOptionItem::bindValue(const QString& file, const QString& group, const QString& key,
                            int defaultValue)
{
    m_configFile = file;
    m_group = group;
    m_key = key;
    const ZConfig cfg(file, false);
    if (m_kind == Number || m_kind == Choice)
        setValue(cfg.readNumEntry(group, key, defaultValue));
    else if (m_kind == YesNo || m_kind == OnOff)
        setValue(cfg.readBoolEntry(group, key, defaultValue != 0) ? 1 : 0);
}

void ZOptionItem::save()
{
    if (!m_modified)
        return;
    if (!m_configFile.isEmpty()) {
        ZConfig cfg(m_configFile, false);
        switch (m_kind) {
        case Text:
        case Colour:
            cfg.writeEntry(m_group, m_key, m_valueText);
            break;
        case YesNo:
        case OnOff:
            cfg.writeEntry(m_group, m_key, m_value != 0);
            break;
        case Number:
        case Choice:
            cfg.writeEntry(m_group, m_key, m_value);
            break;
        default:
            break;
        }
        cfg.flush();
    }
    emit aplly(m_id);
}

void ZOptionItem::selected(ZSettingItem* item)
{
    if (item != static_cast<ZSettingItem*>(this))
        return;
    switch (m_kind) {
    case Text:
        editText();
        break;
    case YesNo:
    case OnOff:
        editTwoState();
        break;
    case Number:
        editNumber();
        break;
    case Choice:
        editChoice();
        break;
    case Colour:
        editColour();
        break;
    default:
        break;
    }
}

// Each editor is a child of this row. The row (and so the editor) may go
// away while the editor runs its loop: the guards notice that.

void ZOptionItem::editText()
{
    auto* dlg = new ZSingleCaptureDlg(m_title, QStringLiteral(""), captureType, this, "", true, 0, 0);
    QPointer<QLineEdit> edit = dlg->getLineEdit();
    if (edit)
        edit->setText(m_valueText);
    QPointer<ZOptionItem> self(this);
    QPointer<ZSingleCaptureDlg> guard(dlg);
    const int r = dlg->exec();
    if (!self || !guard)
        return;
    if (r == 1) {
        setValueText(edit ? edit->text() : QString());
        m_modified = true;
    }
    delete edit;
    delete dlg;
}

void ZOptionItem::editTwoState()
{
    auto* dlg = new ZSingleSelectDlg(m_title, QStringLiteral(""), this, nullptr, true, 0, 0);
    dlg->addItemsList(QStringList{trueText(), falseText()});
    dlg->getListBox()->checkItem(m_value != 0 ? 0 : 1, true);
    QPointer<ZOptionItem> self(this);
    QPointer<ZSingleSelectDlg> guard(dlg);
    const int r = dlg->exec();
    if (!self || !guard)
        return;
    if (r == 1) {
        setValue(dlg->getCheckedItemIndex() == 0 ? 1 : 0);
        m_modified = true;
    }
    delete dlg;
}

void ZOptionItem::editNumber()
{
    auto* dlg = new ZNumPickerDlg(numPickerType, this, nullptr, 0);
    QPointer<ZNumModule> module = dlg->getNumModule();
    if (module) {
        module->setMaxValue(m_maximum);
        module->setMinValue(m_minimum);
        module->setValue(m_value);
    }
    QPointer<ZOptionItem> self(this);
    QPointer<ZNumPickerDlg> guard(dlg);
    const int r = dlg->exec();
    if (!self || !guard)
        return;
    if (r == 1 && module) {
        setValue(module->getValue());
        m_modified = true;
    }
    delete module;
    delete dlg;
}

void ZOptionItem::editChoice()
{
    if (!m_choices)
        return;
    auto* dlg = new ZSingleSelectDlg(m_title, QStringLiteral(""), this, nullptr, true, 0, 0);
    dlg->addItemsList(*m_choices);
    if (choiceInRange(m_value))
        dlg->getListBox()->checkItem(m_value, true);
    QPointer<ZOptionItem> self(this);
    QPointer<ZSingleSelectDlg> guard(dlg);
    const int r = dlg->exec();
    if (!self || !guard)
        return;
    const int picked = dlg->getCheckedItemIndex();
    if (r == 1 && picked >= 0) {
        setValue(picked);
        m_modified = true;
    }
    delete dlg;
}

void ZOptionItem::editColour()
{
    QColor colour;
    colour.setRgb(0, 0, 0);
    colour.setNamedColor(m_valueText);
    if (!colour.isValid()) {
        logLine(QStringLiteral("ZOptionItem: \"") + m_valueText
                + QStringLiteral("\" is no colour, the picker starts on black"));
        colour.setRgb(0, 0, 0);
    }
    auto* dlg = new ZColorPickerDlg(colour, nullptr, 0, this, nullptr, 0);
    QPointer<ZOptionItem> self(this);
    QPointer<ZColorPickerDlg> guard(dlg);
    const int r = dlg->exec();
    if (!self || !guard)
        return;
    if (r == 1) {
        setValueText(dlg->getColor().name());
        m_modified = true;
    }
    delete dlg;
}
