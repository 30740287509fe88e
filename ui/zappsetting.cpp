#include "ui/zappsetting.h"

#include "core/globals.h"
#include "core/settingdefaults.h"
#include "core/zsettings.h"
#include "ezx/zlistbox.h"
#include "ezx/zsoftkey.h"
#include "platform/devicepath.h"
#include "platform/logline.h"
#include "ui/zoptionitem.h"

#include <QStringList>
#include <QVBoxLayout>

namespace {
constexpr int listSkin = 40;
constexpr int fontSizeMinimum = 6;
constexpr int fontSizeMaximum = 30;
}

ZAppSetting::ZAppSetting()
{
    logLine(QStringLiteral("ZSettingDlg: Start"));
    setMainWidgetTitle(tr("TXT_RID_HEADER_SETTINGS", "Settings"));

    m_list = new ZListBox(this, 0, listSkin);
    getVBoxLayout()->addWidget(m_list, 0, Qt::Alignment());

    logLine(QStringLiteral("ZSettingDlg: Create CheckBox and Load settings"));
    addRows();

    auto* keys = new ZSoftKey(nullptr, this, this);
    keys->setText(ZSoftKey::Left, tr("TXT_RID_SOFTKEY_SAVE", "Save"), 0);
    keys->setText(ZSoftKey::Right, tr("TXT_RID_SOFTKEY_CANCEL", "Cancel"), 0);
    keys->setClickedSlot(ZSoftKey::Left, this, SLOT(accept()));
    keys->setClickedSlot(ZSoftKey::Right, this, SLOT(reject()));
    setSoftKey(keys);

    logLine(QStringLiteral("ZSettingDlg: end"));
}

ZAppSetting::~ZAppSetting() = default;

void ZAppSetting::addRows()
{
    struct Row
    {
        int id;
        int kind;
        QString title;
        const char* group;
        const char* key;
        int defaultValue;
    };
    const QString fontSize = tr("TXT_RID_SETTING_A_FONT_SIZE", "Font Size");
    const QString textColour = tr("TXT_RID_OPTION_TEXT_COLOR", "Text Color");
    // Row 12, the colour, is a text row and is bound on its own below.
    const Row rows[] = {
        {1, ZOptionItem::OnOff,
         tr("TXT_RID_SHOW", "Show") + QLatin1Char(' ') + tr("TXT_RID_OPTION_ALL_TASKS", "All Tasks"),
         "Task", "ShowAllTask", 0},
        {2, ZOptionItem::OnOff, QString::fromUtf8("Отображать задачи без окон"), "Task",
         "ShowAppNoWindow", 0},
        {3, ZOptionItem::OnOff, tr("TXT_RID_LIST_A_TIME", "Time"), "General", "TimeInCaption", 0},
        {4, ZOptionItem::OnOff, QString::fromUtf8("Использовать перекрывание окон"), "General",
         "SendReaisePhone", 1},
        {5, ZOptionItem::OnOff, QString::fromUtf8("Использовать сворачивание Java'ы"), "General",
         "SendGoToIDLE", 0},
        {6, ZOptionItem::OnOff, QString::fromUtf8("Информация о задаче по нажатии зеленой кнопки"),
         "Key", "ShowInfoByGreen", 1},
        {7, ZOptionItem::Choice, QString::fromUtf8("Действие по кнопке C:"), "Key", "ActionOnC", 0},
        {9, ZOptionItem::Number, fontSize + QStringLiteral(" list"), "Font", "ListFontSize", kDefaultListFontSize},
        {10, ZOptionItem::Number, fontSize + QStringLiteral(" panel"), "Font", "PanelFontSize", kDefaultPanelFontSize},
        {11, ZOptionItem::OnOff,
         tr("TXT_RID_OPTION_USE", "Use") + QLatin1Char(' ') + textColour, "Font", "UserFont", 0},
    };

    for (const Row& row : rows) {
        auto* item = new ZOptionItem(m_list, row.kind, row.id);
        item->setTitle(row.title);
        if (row.kind == ZOptionItem::Choice)
            item->setChoices(new QStringList{tr("TXT_RID_LIST_A_NO", "No"), QStringLiteral("Kill"),
                                             QStringLiteral("Quit")});
        else if (row.kind == ZOptionItem::Number)
            item->setRange(fontSizeMinimum, fontSizeMaximum);
        item->bindValue(configFilePath(), QLatin1String(row.group), QLatin1String(row.key),
                        row.defaultValue);
        m_list->insertItem(item, -1, true);
    }

    auto* colour = new ZOptionItem(m_list, ZOptionItem::Colour, 12);
    colour->setTitle(textColour);
    colour->bindText(configFilePath(), QStringLiteral("Font"), QStringLiteral("PanelColor"),
                     QStringLiteral("#000000"));
    m_list->insertItem(colour, -1, true);
}

void ZAppSetting::accept()
{
    logLine(QStringLiteral("ZSettingDlg::save"));
    for (int i = 0; i < m_list->count(); ++i) {
        if (auto* row = dynamic_cast<ZOptionItem*>(m_list->item(i)))
            row->save();
    }
    if (gSettings)
        gSettings->loadSettings();
    else
        logLine(QStringLiteral("ZSettingDlg::save: no settings object to reload"));
    MyBaseDlg::accept();
}
