#include "ui/zaboutdialog.h"

#include "core/programpicture.h"
#include "ezx/zimage.h"
#include "ezx/zlabel.h"
#include "ezx/zscrollpanel.h"
#include "ezx/zseparator.h"
#include "ezx/zsoftkey.h"
#include "platform/logline.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QPixmap>
#include <QVBoxLayout>

namespace {
constexpr int panelSkin = 63;
constexpr int separatorSkin = 65;
constexpr int labelSkin = 87;
constexpr int headerX = 76;
constexpr int textX = 10;
constexpr int textWidth = 235;
}

ZAboutDialog::ZAboutDialog()
{
    setMainWidgetTitle(tr("TXT_RID_HEADER_A_ABOUT", "About"));

    auto* panel = new ZScrollPanel(this, nullptr, 0, panelSkin);
    getVBoxLayout()->addWidget(panel, 0, Qt::Alignment());

    auto* icon = new ZImage(this, nullptr, 0);
    icon->setPixmap(QPixmap(iconPath(programFolder()), nullptr, Qt::AutoColor));
    panel->addChild(icon, 10, 10);

    // The phone's weight 75 is bold on its old 0-99 scale; Qt 6 counts
    // weights from 1 to 1000, where 75 would be thinner than thin.
    QFont bold = QApplication::font();
    bold.setWeight(QFont::Bold);

    auto header = [&](const QString& text, int width, int y, bool isName) {
        auto* label = new ZLabel(text, this, nullptr, 0, labelSkin);
        if (isName)
            label->setFont(bold);
        label->setFixedWidth(width);
        label->setAlignment(ZLabel::PhoneAlignCenter);
        panel->addChild(label, headerX, y);
    };
    header(QStringLiteral("zKestrel"), 170, 10, true);
    header(QStringLiteral("ver. ") + QStringLiteral("0.4.6"), 164, 35, false);
    header(QStringLiteral("Platform: EZX-ZN5"), 170, 60, false);

    panel->addChild(new ZSeparator(nullptr, nullptr, 0, separatorSkin), textX, 100);

    auto line = [&](const QString& text, int y) {
        auto* label = new ZLabel(text, this, nullptr, 0, labelSkin);
        label->setAlignment(ZLabel::PhoneAlignCenter);
        label->setAutoResize(true);
        label->setPreferredWidth(textWidth);
        panel->addChild(label, textX, y);
    };
    line(QStringLiteral("Written by the zKestrel team"), 110);
    line(QStringLiteral("Notes and news: see the README"), 140);
    line(QStringLiteral("Thanks to the Qt toolkit"), 165);
    line(QStringLiteral("and to the D-Bus message bus"), 190);
    line(buildLine(), 220);

    panel->addChild(new ZSeparator(nullptr, nullptr, 0, separatorSkin), textX, 240);

    auto* keys = new ZSoftKey(nullptr, this, this);
    keys->setText(ZSoftKey::Left, tr("TXT_RID_SOFTKEY_OK", "OK"), 0);
    keys->setClickedSlot(ZSoftKey::Left, this, SLOT(accept()));
    setSoftKey(keys);
}

ZAboutDialog::~ZAboutDialog() = default;

QString ZAboutDialog::iconPath(const QString& appDir)
{
    const QString own = appDir + QStringLiteral("/zKestrel3_usr.png");
    if (QFile::exists(own))
        return own;
    return appDir + QStringLiteral("/zKestrel.png");
}

QString ZAboutDialog::buildLine()
{
    // One line of the box's width: "Qt 6.4.2 build for EZX-ZN5 (Linux)".
    return QStringLiteral("%1 for %2%3%4%5%6%7")
        .arg(QStringLiteral("Qt " QT_VERSION_STR " build"))
        .arg(QStringLiteral("EZX"))
        .arg(QStringLiteral("-"))
        .arg(QStringLiteral("ZN5"))
        .arg(QStringLiteral(" ("))
        .arg(QStringLiteral("Linux"))
        .arg(QStringLiteral(")"));
}
