// Every text a user reads, on every screen and dialog, in English and
// Russian, at the smallest, the default and the largest font sizes the
// settings allow, with long figures and names in them: a text is drawn
// whole, or elided with "…", or (the current row of a list) scrolled; a
// figure stands on its own lines, never broken inside; no text runs over
// another widget. Read from what the widgets actually paint.
//
// At the largest sizes every screen is also saved, and gathered into one
// sheet per language (screenshots/fit-sheet-<language>.png), for people to
// look at.
#include "catalogue/favourites.h"
#include "catalogue/registry.h"
#include "catalogue/zaddappdlg.h"
#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/languagetranslator.h"
#include "ezx/listrowitem.h"
#include "ezx/zapplication.h"
#include "ezx/zlabel.h"
#include "ezx/zlistbox.h"
#include "ezx/zlistitem.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zoptionsmenu.h"
#include "ezx/zsettingitem.h"
#include "monitor/monitortexts.h"
#include "platform/devicepath.h"
#include "process/zprocinfodlg.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"
#include "tests/ui/drawntexts.h"
#include "tests/ui/popupdriver.h"
#include "ui/zaboutdialog.h"
#include "ui/zappsetting.h"
#include "ui/zkestrel.h"
#include "ui/zoptionitem.h"

#include <QAbstractScrollArea>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

using namespace zk::monitor;

namespace {

// A text may poke out of its box by a pixel (bearings, rounding).
constexpr qreal kSlack = 1.0;

// The font sizes the settings offer (both sizes run 6 to 30), and their
// defaults, which a configuration without them gives.
constexpr int kSmallestFont = 6;
constexpr int kLargestFont = 30;

// Long figures: a machine with 23 GB free, a four-digit clock at full load.
constexpr qint64 kFreeRamKb = 24'472'371;
constexpr qint64 kFreeSwapKb = 16'777'115;
constexpr int kClockMhz = 2400;
constexpr int kLoad = 100;

enum class Screen {
    Tasks,
    TasksMenu,
    Favourites,
    FavouritesMenu,
    Monitor,
    MonitorMenu,
    Settings,
    OnOffPicker,
    ChoicePicker,
    NumberPicker,
    ColourPicker,
    About,
    Details,
    DetailsLibraries,
    Add,
    Rename,
    Priority,
    AllSlotsUsed
};

const std::map<Screen, const char*> kScreenNames = {
    {Screen::Tasks, "tasks"},
    {Screen::TasksMenu, "tasks-menu"},
    {Screen::Favourites, "favourites"},
    {Screen::FavouritesMenu, "favourites-menu"},
    {Screen::Monitor, "monitor"},
    {Screen::MonitorMenu, "monitor-menu"},
    {Screen::Settings, "settings"},
    {Screen::OnOffPicker, "on-off-picker"},
    {Screen::ChoicePicker, "choice-picker"},
    {Screen::NumberPicker, "number-picker"},
    {Screen::ColourPicker, "colour-picker"},
    {Screen::About, "about"},
    {Screen::Details, "details"},
    {Screen::DetailsLibraries, "details-libraries"},
    {Screen::Add, "add"},
    {Screen::Rename, "rename"},
    {Screen::Priority, "priority"},
    {Screen::AllSlotsUsed, "all-slots-used"},
};

// Settings rows (list order) whose pickers are visited: the longest on/off
// title, the choice, a font size, the colour.
constexpr int kLongTitleRow = 5;
constexpr int kChoiceRow = 6;
constexpr int kNumberRow = 7;
constexpr int kColourRow = 10;

QString longName(const QString& language)
{
    return language == QLatin1String("ru")
               ? QString::fromUtf8("Календарь событий и напоминаний на каждый день")
               : QStringLiteral("Calendar of events and reminders for every day");
}

// The task's program name: one word, as a task list shows it.
const QString kTaskName = QStringLiteral("Calendar_of_events_and_reminders");

// ---- the check ----------------------------------------------------------

bool isElided(const QString& text)
{
    return text.contains(QChar(0x2026));
}

QRectF visibleArea(const QWidget* w)
{
    QRectF area = drawntexts::windowRect(w);
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        area &= drawntexts::windowRect(p);
    return area & QRectF(QPointF(0, 0), w->window()->size());
}

// The list box whose rows a widget shows (its viewport), or null.
ZListBox* listOf(QWidget* w)
{
    auto* list = qobject_cast<ZListBox*>(w ? w->parentWidget() : nullptr);
    return list && list->viewport() == w ? list : nullptr;
}

bool isScrolledViewport(const QWidget* w)
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(w ? w->parentWidget() : nullptr);
    return area && area->viewport() == w;
}

QString nameOf(const QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className())
           + (w->objectName().isEmpty() ? QString() : QLatin1Char('#') + w->objectName());
}

QString rectText(const QRectF& r)
{
    const QRect i = r.toAlignedRect();
    return QStringLiteral("(%1,%2 %3x%4)").arg(i.x()).arg(i.y()).arg(i.width()).arg(i.height());
}

QString labelText(const QWidget* w)
{
    if (const auto* z = qobject_cast<const ZLabel*>(w))
        return z->text();
    if (const auto* q = qobject_cast<const QLabel*>(w))
        return q->text();
    return QString();
}

QString withoutBlanks(QString s)
{
    s.remove(QRegularExpression(QStringLiteral("\\s")));
    return s;
}

// What is wrong with the texts a window draws. `figures` are labels whose
// every line must be drawn whole on a line of its own.
QStringList fitProblems(QWidget* window, const QList<const QWidget*>& figures)
{
    QStringList problems;
    const QList<drawntexts::Text> texts = drawntexts::render(window);
    const ZOptionsMenu* menu = nullptr;
    for (const ZOptionsMenu* m : window->findChildren<ZOptionsMenu*>()) {
        if (m->isVisible())
            menu = m;
    }
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    std::map<const QWidget*, QStringList> drawn;

    for (const drawntexts::Text& t : texts) {
        QWidget* w = t.widget;
        if (!w || t.text.trimmed().isEmpty())
            continue;
        const QRectF area = visibleArea(w);
        const QRectF shown = t.box & area;
        if (shown.isEmpty())
            continue;  // scrolled out of sight
        const bool inMenu = menu && (w == menu || menu->isAncestorOf(w));
        if (menu && !inMenu && t.box.intersects(drawntexts::windowRect(menu)))
            continue;  // under the open menu
        drawn[w] << t.text;
        const QString what = QStringLiteral("%1 \"%2\" at %3").arg(nameOf(w), t.text, rectText(t.box));

        QRectF span = area;
        if (!t.clip.isNull())
            span &= t.clip;
        const bool cutSideways =
            t.box.left() < span.left() - kSlack || t.box.right() > span.right() + kSlack;
        ZListBox* list = listOf(w);
        const int current = list ? list->currentItem() : -1;
        const bool currentRow = current >= 0
                                && list->itemRect(current).translated(drawntexts::windowRect(w).topLeft()).contains(t.box.center().toPoint());
        if (currentRow && (isElided(t.text) || cutSideways)) {
            if (!list->isMarqueeRunning())
                problems << what + QStringLiteral(": the current row is cut, not scrolled");
        } else if (cutSideways && !qobject_cast<QLineEdit*>(w)) {
            problems << what + QStringLiteral(": wider than its box ") + rectText(span);
        }

        // Rows of a list scroll up and down out of sight; any other text
        // stays within its own box.
        QRectF own = drawntexts::windowRect(w);
        if (!t.clip.isNull())
            own &= t.clip;
        if (!isScrolledViewport(w)
            && (t.box.top() < own.top() - kSlack || t.box.bottom() > own.bottom() + kSlack))
            problems << what + QStringLiteral(": higher than its box ") + rectText(own);

        for (const QWidget* other : widgets) {
            if (other == w || !other->isVisible() || other->isAncestorOf(w) || w->isAncestorOf(other))
                continue;
            // The open menu lies over the window: what it covers is not beside its texts.
            if (inMenu && other != menu && !menu->isAncestorOf(other))
                continue;
            const QRectF o = visibleArea(other);
            if (o.isEmpty())
                continue;
            if (shown.adjusted(kSlack, kSlack, -kSlack, -kSlack).intersects(o))
                problems << what + QStringLiteral(": runs over ") + nameOf(other) + QLatin1Char(' ')
                                + rectText(o);
        }
    }

    // Labels in full view (from top to bottom) are drawn whole: every line
    // of a figure on a line of its own; any other text, perhaps wrapped, all
    // of it or elided.
    for (const QWidget* w : widgets) {
        const QString text = labelText(w);
        if (!w->isVisible() || text.trimmed().isEmpty() || w->window() != window)
            continue;
        const QRectF area = visibleArea(w);
        const QRect own = drawntexts::windowRect(w);
        if (area.top() > own.top() || area.bottom() < own.bottom() + 1)
            continue;
        if (menu && !menu->isAncestorOf(w) && own.intersects(drawntexts::windowRect(menu)))
            continue;
        const QStringList pieces = drawn[w];
        const QString what = QStringLiteral("%1 \"%2\"").arg(nameOf(w), text);
        if (figures.contains(w)) {
            QStringList lines = text.split(QLatin1Char('\n'));
            for (QString& line : lines)
                line = line.trimmed();
            QStringList shownLines = pieces;
            for (QString& line : shownLines)
                line = line.trimmed();
            if (shownLines != lines)
                problems << what + QStringLiteral(": a figure drawn as \"")
                                + shownLines.join(QStringLiteral("\" \"")) + QLatin1Char('"');
        } else if (!std::any_of(pieces.cbegin(), pieces.cend(), isElided)
                   && withoutBlanks(pieces.join(QString())) != withoutBlanks(text)) {
            problems << what + QStringLiteral(": drawn as \"") + pieces.join(QStringLiteral("\" \""))
                            + QLatin1Char('"');
        }
    }
    return problems;
}

// ---- the screenshot sheet -----------------------------------------------

// A popup is its own window: drawn over the window it comes up on.
QImage screenPicture(QWidget* window, QWidget* below)
{
    if (!below)
        return window->grab().toImage();
    QImage picture = below->grab().toImage();
    QPainter p(&picture);
    p.drawImage(window->mapToGlobal(QPoint(0, 0)) - below->mapToGlobal(QPoint(0, 0)),
                window->grab().toImage());
    return picture;
}

void saveSheet(const QString& language, const QList<QPair<QString, QImage>>& shots)
{
    if (shots.isEmpty())
        return;
    constexpr int columns = 6;
    constexpr int label = 16;
    const QSize cell(240, 320 + label);
    const int rows = (static_cast<int>(shots.size()) + columns - 1) / columns;
    QImage sheet(columns * (cell.width() + 8), rows * (cell.height() + 8), QImage::Format_RGB32);
    sheet.fill(QColor(0x50, 0x50, 0x50));
    QPainter p(&sheet);
    p.setPen(Qt::white);
    for (int i = 0; i < shots.size(); ++i) {
        const QPoint at((i % columns) * (cell.width() + 8) + 4, (i / columns) * (cell.height() + 8) + 4);
        p.drawText(QRect(at, QSize(cell.width(), label)), Qt::AlignLeft | Qt::AlignVCenter,
                   shots.at(i).first);
        p.drawImage(at + QPoint(0, label), shots.at(i).second);
    }
    p.end();
    sheet.save(ztest::shotsDir() + QStringLiteral("/fit-sheet-") + language + QStringLiteral(".png"));
}

}

class TextFitTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_programs;
    QProcess m_task;  // a task with a long name
    std::unique_ptr<ZKestrel> m_window;
    std::map<QString, QList<QPair<QString, QImage>>> m_sheets;

    int taskPid() const { return static_cast<int>(m_task.processId()); }

    void setLanguage(const QString& language)
    {
        ZLanguageTranslator* translator = ZLanguageTranslator::installedOn(qApp);
        QVERIFY(translator);
        QVERIFY(translator->loadLanguage(language));
    }

    // The settings and favourites file of one row: its font sizes, twenty
    // favourites, the first with a long name.
    void writeConfig(const QString& language, int listFont, int panelFont)
    {
        QByteArray text;
        if (listFont > 0) {
            text += "[Font]\nListFontSize = " + QByteArray::number(listFont)
                    + "\nPanelFontSize = " + QByteArray::number(panelFont) + "\n";
        }
        text += "[App]\n";
        for (int slot = 0; slot < favouriteSlotCount; ++slot) {
            const QString name = slot == 0 ? longName(language) : QStringLiteral("App %1").arg(slot);
            text += QStringLiteral("name%1 = %2\nrun%1 = {00000000-0000-0000-0000-0000000000%3}\n"
                                   "icon%1 = /img/app.png\n")
                        .arg(slot)
                        .arg(name)
                        .arg(slot, 2, 10, QLatin1Char('0'))
                        .toUtf8();
        }
        QVERIFY(testfiles::writeFile(configFilePath(), text));
        gSettings->loadSettings();
    }

    void writeRegistry(const QString& language)
    {
        const QByteArray text = "[long]\nName = " + longName(language).toUtf8()
                                + "\nAppID = {00000000-0000-0000-0000-00000000101a}\n"
                                  "Icon = /img/app.png\n"
                                  "[clock]\nName = Clock\nAppID = {00000000-0000-0000-0000-00000000c10c}\n"
                                  "Icon = /img/app.png\n";
        QVERIFY(testfiles::writeFile(devicePath(QLatin1String(systemRegistryPath)), text));
    }

    ZKestrel* window()
    {
        if (!m_window) {
            m_window = std::make_unique<ZKestrel>();
            gMainWindow = m_window.get();
            // The figures below stay as set: no refresh replaces them.
            if (m_window->updateTimer)
                m_window->updateTimer->stop();
        }
        return m_window.get();
    }

    // The figures a refresh would show on a 23 GB machine with a
    // four-digit clock at full load.
    void showLongFigures()
    {
        ZKestrel* w = window();
        w->cpuLabel->setText(cpuPanelText(kClockMhz, kLoad));
        w->cpuTitleLabel->setText(cpuTitleText(kClockMhz, kLoad));
        w->ramLabel->setText(megabyteText(kFreeRamKb));
        w->ramTitleLabel->setText(ramTitleText(kFreeRamKb));
        w->swapLabel->setText(megabyteText(kFreeSwapKb));
        w->swapTitleLabel->setText(swapTitleText(kFreeSwapKb));
    }

    QList<const QWidget*> figures()
    {
        if (!m_window)
            return {};
        ZKestrel* w = m_window.get();
        return {w->cpuLabel, w->ramLabel, w->swapLabel,
                w->cpuTitleLabel, w->ramTitleLabel, w->swapTitleLabel};
    }

    // The task page with the long task current.
    void openTasks()
    {
        ZKestrel* w = window();
        w->tabWidget->setCurrentPage(0);
        w->addProcItem(taskPid(), kTaskName, false);
        for (int i = 0; i < w->procListBox->count(); ++i) {
            const auto* row = dynamic_cast<ZListRowItem*>(w->procListBox->item(i));
            if (row && row->getPid() == taskPid())
                w->procListBox->setCurrentItem(i);
        }
        showLongFigures();
    }

    void openFavourites(const QString& language)
    {
        ZKestrel* w = window();
        w->tabWidget->setCurrentPage(1);
        for (int i = 0; i < w->appListBox->count(); ++i) {
            const auto* row = dynamic_cast<ZSettingItem*>(w->appListBox->item(i));
            if (row && row->subItem(1, 0) == longName(language))
                w->appListBox->setCurrentItem(i);
        }
    }

    void openMonitor()
    {
        window()->tabWidget->setCurrentPage(2);
        showLongFigures();
    }

    // Checks a window (and keeps its picture for the sheet).
    QStringList check(QWidget* shown, const QString& sheetName, QWidget* below = nullptr)
    {
        QCoreApplication::processEvents();
        const QStringList problems = fitProblems(shown, figures());
        if (!sheetName.isEmpty())
            m_sheets[sheetName.section(QLatin1Char('/'), 0, 0)]
                << qMakePair(sheetName.section(QLatin1Char('/'), 1), screenPicture(shown, below));
        return problems;
    }

    // Checks the popup that `open` brings up, then cancels it.
    QStringList checkPopup(const std::function<void()>& open, const QString& sheetName,
                           QWidget* below)
    {
        QStringList problems;
        PopupDriver driver;
        driver.then([&](ZPopup* popup) {
            problems = check(popup, sheetName, below);
            PopupDriver::cancel(popup);
        });
        open();
        if (driver.seen() != 1)
            problems << QStringLiteral("no popup came up");
        return problems;
    }

    QStringList visit(Screen screen, const QString& language, const QString& sheetName)
    {
        switch (screen) {
        case Screen::Tasks:
            openTasks();
            return check(window(), sheetName);
        case Screen::TasksMenu:
        case Screen::FavouritesMenu:
        case Screen::MonitorMenu: {
            if (screen == Screen::TasksMenu)
                openTasks();
            else if (screen == Screen::FavouritesMenu)
                openFavourites(language);
            else
                openMonitor();
            window()->optionsMenu->popup();
            const QStringList problems = check(window(), sheetName);
            window()->optionsMenu->hide();
            return problems;
        }
        case Screen::Favourites:
            openFavourites(language);
            return check(window(), sheetName);
        case Screen::Monitor:
            openMonitor();
            return check(window(), sheetName);
        case Screen::Rename:
            openFavourites(language);
            return checkPopup([this] { window()->menu_appRen(); }, sheetName, window());
        case Screen::Priority:
            openTasks();
            return checkPopup([this] { window()->menu_procPrioritet(); }, sheetName, window());
        case Screen::Settings:
        case Screen::OnOffPicker:
        case Screen::ChoicePicker:
        case Screen::NumberPicker:
        case Screen::ColourPicker: {
            ZAppSetting dlg;
            dlg.show();
            ZListBox* list = dlg.settingsList();
            const int row = screen == Screen::ChoicePicker   ? kChoiceRow
                            : screen == Screen::NumberPicker ? kNumberRow
                            : screen == Screen::ColourPicker ? kColourRow
                                                             : kLongTitleRow;
            list->setCurrentItem(row);
            if (screen == Screen::Settings)
                return check(&dlg, sheetName);
            auto* item = dynamic_cast<ZSettingItem*>(list->item(row));
            return checkPopup([&] { emit list->selected(item); }, sheetName, &dlg);
        }
        case Screen::About: {
            ZAboutDialog dlg;
            dlg.show();
            return check(&dlg, sheetName);
        }
        case Screen::Details:
        case Screen::DetailsLibraries: {
            ZProcInfoDlg dlg(taskPid());
            dlg.show();
            if (screen == Screen::DetailsLibraries)
                dlg.pageTabs->setCurrentPage(1);
            return check(&dlg, sheetName);
        }
        case Screen::Add:
        case Screen::AllSlotsUsed: {
            ZAddAppDlg dlg;
            dlg.show();
            for (int i = 0; i < dlg.regListBox->count(); ++i) {
                const auto* row = dynamic_cast<ZSettingItem*>(dlg.regListBox->item(i));
                if (row && row->subItem(1, 0) == longName(language))
                    dlg.regListBox->setCurrentItem(i);
            }
            if (screen == Screen::Add)
                return check(&dlg, sheetName);
            // Every favourites slot is taken: adding tells so.
            return checkPopup([&] { dlg.accept(); }, sheetName, &dlg);
        }
        }
        return {QStringLiteral("no such screen")};
    }

private slots:
    void initTestCase()
    {
        gApp = qobject_cast<ZApplication*>(qApp);
        QVERIFY(gApp);
        if (!gSettings)
            gSettings = new ZSettings();
        // A program whose file name is long, running as long as the test.
        const QString program = m_programs.path() + QLatin1Char('/') + kTaskName;
        QVERIFY(QFile::link(QStringLiteral("/bin/sleep"), program));
        m_task.start(program, {QStringLiteral("600")});
        QVERIFY(m_task.waitForStarted());
        QVERIFY(testfiles::writeFile(devicePath(QStringLiteral("/sys/mpm/op")), "2400\n"));
    }

    void cleanupTestCase()
    {
        m_task.kill();
        m_task.waitForFinished();
        for (const auto& [language, shots] : m_sheets)
            saveSheet(language, shots);
        setLanguage(QStringLiteral("en"));
    }

    void cleanup()
    {
        gMainWindow = nullptr;
        m_window.reset();
    }

    void everyTextFits_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("listFont");  // 0: the default
        QTest::addColumn<int>("panelFont");
        QTest::addColumn<bool>("onSheet");
        struct Size
        {
            const char* name;
            int list;
            int panel;
        };
        const Size sizes[] = {{"smallest", kSmallestFont, kSmallestFont},
                              {"default", 0, 0},
                              {"largest", kLargestFont, kLargestFont}};
        for (const char* language : {"en", "ru"}) {
            for (const Size& size : sizes) {
                for (const auto& [screen, name] : kScreenNames) {
                    QTest::addRow("%s %s %s", name, language, size.name)
                        << static_cast<int>(screen) << QString::fromLatin1(language) << size.list
                        << size.panel << (size.list == kLargestFont);
                }
            }
        }
    }

    void everyTextFits()
    {
        QFETCH(int, screen);
        QFETCH(QString, language);
        QFETCH(int, listFont);
        QFETCH(int, panelFont);
        QFETCH(bool, onSheet);
        setLanguage(language);
        writeConfig(language, listFont, panelFont);
        writeRegistry(language);
        const Screen s = static_cast<Screen>(screen);
        const QString sheetName = onSheet
                                      ? language + QLatin1Char('/') + QLatin1String(kScreenNames.at(s))
                                      : QString();
        const QStringList problems = visit(s, language, sheetName);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("\n  "))));
    }
};
ZK_TEST(TextFitTest)

#include "textfit_test.moc"
