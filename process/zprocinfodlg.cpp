#include "process/zprocinfodlg.h"

#include "core/programpicture.h"
#include "ezx/zformcontainer.h"
#include "ezx/zkeys.h"
#include "ezx/zlabel.h"
#include "ezx/zlistbox.h"
#include "ezx/zlistboxitem.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zsoftkey.h"
#include "platform/logline.h"
#include "platform/taskdir.h"
#include "process/cmdline.h"
#include "process/procname.h"
#include "process/procstatus.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <sys/resource.h>

using namespace zk::proc;

namespace {
// The dialog shows more of the command line than the task list does.
const int kCmdlineLimit = 1023;

// Skin classes of the phone's widgets.
const int kTabSkin = 53;
const int kFormSkin = 23;
const int kLabelSkin = 87;
const int kListSkin = 40;

ZLabel* infoLine(const QString& text, QWidget* parent, int pointSize, int width)
{
    auto* label = new ZLabel(text, parent, nullptr, 0, kLabelSkin);
    label->setAutoResize(true);
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    label->setFont(font);
    label->setFixedWidth(width);
    return label;
}
}

ZProcInfoDlg::ZProcInfoDlg(int pid)
{
    logLine(QStringLiteral("ZProcInfoDlg: Start"));
    setMainWidgetTitle(tr("TXT_RID_OPTION_INFORMATION", "Information"));

    logLine(QStringLiteral("ZProcInfoDlg: Get Cmd line"));
    const TaskDir task(pid);
    const QString cmdline = readCmdline(task, kCmdlineLimit);

    logLine(QStringLiteral("ZProcInfoDlg: Add visual component"));
    pageTabs = new ZNavTabWidget(this, nullptr, kTabSkin);
    const QIcon infoIcon(programPicture(QStringLiteral("/img/info.png")));
    const QIcon libIcon(programPicture(QStringLiteral("/img/liblist.png")));
    infoPanel = new ZFormContainer(this, 0, kFormSkin);
    addInfoLines(task, cmdline);

    libListBox = new ZListBox(QStringLiteral("%I%M"), this, 0, kListSkin);
    libListBox->setFixedWidth(240);
    QFont listFont = QApplication::font();
    listFont.setPointSize(12);
    listFont.setWeight(QFont::Bold);
    libListBox->setItemFont(2, listFont, true);
    libListBox->setItemFont(2, listFont, false);
    logLine(QStringLiteral("ZProcInfoDlg: Get loadded lib"));
    addLibraries(task);

    pageTabs->addTab(infoPanel, infoIcon, QString());
    pageTabs->addTab(libListBox, libIcon, QString());
    getVBoxLayout()->addWidget(pageTabs);
    connect(pageTabs, &ZNavTabWidget::currentChanged, this, &ZProcInfoDlg::slotPageChanged);

    auto* softKey = new ZSoftKey(nullptr, this, this);
    softKey->setText(ZSoftKey::Left, tr("TXT_RID_SOFTKEY_OK", "OK"));
    softKey->setClickedSlot(ZSoftKey::Left, this, SLOT(accept()));
    setCSTWidget(softKey);
    installEventFilter(this);
    logLine(QStringLiteral("ZProcInfoDlg: End"));
}

ZProcInfoDlg::~ZProcInfoDlg() = default;

void ZProcInfoDlg::addInfoLines(const TaskDir& task, const QString& cmdline)
{
    const int pid = task.pid();
    const QByteArray status = taskStatusText(task);
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(pid));
    ZLabel* name = infoLine(getProcName(cmdline), infoPanel, 20, 240);
    name->setAlignment(ZLabel::PhoneAlignCenter);
    ZLabel* cmd = infoLine(QStringLiteral("Cmd: ") + cmdline, infoPanel, 14, 235);
    cmd->setLeading(14);

    const QList<ZLabel*> lines{
        name,
        infoLine(QStringLiteral("Pid: %1").arg(pid), infoPanel, 14, 240),
        cmd,
        infoLine(statusField(status, QStringLiteral("VmSize:"), true), infoPanel, 14, 240),
        infoLine(tr("TXT_RID_EMPHASIS_STATUS", "Status:") + taskState(status), infoPanel, 14, 240),
        infoLine(QString::fromUtf8("Потоки:") + statusField(status, QStringLiteral("Threads:"), false),
                 infoPanel, 14, 240),
        infoLine(tr("TXT_RID_INSTRUCTIONALTXT_USER_NAME", "User Name:") + taskUserName(status),
                 infoPanel, 14, 240),
        infoLine(tr("TXT_RID_HEADER_PRIORITY", "Priority") + QStringLiteral(": %1").arg(nice),
                 infoPanel, 14, 240),
    };
    for (ZLabel* line : lines)
        infoPanel->addChild(line, true, nullptr);
}

void ZProcInfoDlg::addLibraries(const TaskDir& task)
{
    for (const QString& path : taskMappedPaths(task)) {
        auto* item = new ZListBoxItem(libListBox, QString());
        item->appendSubItem(1, path, true, nullptr);
        libListBox->insertItem(item, -1, true);
    }
}

void ZProcInfoDlg::slotPageChanged(QWidget*)
{
    if (pageTabs->currentPageIndex() == 0)
        infoPanel->setFocus();
    else if (pageTabs->currentPageIndex() == 1)
        libListBox->setFocus();
}

bool ZProcInfoDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease && pageTabs && pageTabs->currentPageIndex() == 0) {
        const int code = phoneKeyCode(static_cast<QKeyEvent*>(event)->key());
        if (code == zkeys::PhoneUp)
            infoPanel->scrollBy(0, -scrollStep);
        else if (code == zkeys::PhoneDown)
            infoPanel->scrollBy(0, scrollStep);
    }
    return QObject::eventFilter(watched, event);
}
