// The list box: where rows go, what stays current, what gets selected.
#include "ezx/zlistbox.h"
#include "ezx/zlistboxitem.h"
#include "ezx/zsettingitem.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>

namespace {
int liveRows = 0;

// A row that counts its instances, to see the list box delete what it owns.
class CountedRow : public ZSettingItem
{
public:
    CountedRow(ZListBox* list, const QString& text)
        : ZSettingItem(list, QStringLiteral("%I%M"))
    {
        appendSubItem(1, text, true);
        ++liveRows;
    }
    ~CountedRow() override { --liveRows; }
};

ZSettingItem* row(ZListBox& list, const QString& text)
{
    auto* item = new ZSettingItem(&list, QStringLiteral("%I%M"));
    item->appendSubItem(1, text, true);
    return item;
}

ZListItem* separator(ZListBox& list)
{
    auto* item = new ZSettingItem(&list, QStringLiteral("%I%M"));
    item->setSeparator(QStringLiteral("-"));
    return item;
}

QString textAt(const ZListBox& list, int index)
{
    auto* item = dynamic_cast<ZSettingItem*>(list.item(index));
    return item ? item->subItem(1, 0) : QStringLiteral("<none>");
}

QStringList texts(const ZListBox& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << textAt(list, i);
    return out;
}

void fill(ZListBox& list, const QStringList& names)
{
    for (const QString& n : names)
        list.insertItem(row(list, n), -1, true);
}
}

class ListBoxTest : public QObject
{
    Q_OBJECT
private slots:
    void insertsAtTheGivenIndex()
    {
        ZListBox list(nullptr);
        fill(list, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        list.insertItem(row(list, QStringLiteral("d")), 1);
        list.insertItem(row(list, QStringLiteral("e")), 0);
        QCOMPARE(texts(list), QStringList({"e", "a", "d", "b", "c"}));
        QCOMPARE(list.itemIndex(list.item(3)), 3);
        QCOMPARE(list.item(5), nullptr);
        QCOMPARE(list.item(-1), nullptr);
    }

    void appendsForMinusOneAndPastTheEnd()
    {
        ZListBox list(nullptr);
        fill(list, {QStringLiteral("hide"), QStringLiteral("sep")});
        // Favourites of slots 0 and 5 go to index 2 and 7 of a list of 2 and 3.
        list.insertItem(row(list, QStringLiteral("slot0")), 2);
        list.insertItem(row(list, QStringLiteral("slot5")), 7);
        list.insertItem(row(list, QStringLiteral("last")), -1);
        QCOMPARE(texts(list), QStringList({"hide", "sep", "slot0", "slot5", "last"}));
    }

    void rowInsertedTwiceIsRefused()
    {
        ZListBox list(nullptr);
        ZSettingItem* a = row(list, QStringLiteral("a"));
        list.insertItem(a);
        list.insertItem(a, 0);
        list.insertItem(nullptr);
        QCOMPARE(list.count(), 1);
    }

    void removeAndClearDeleteTheRows()
    {
        liveRows = 0;
        {
            ZListBox list(nullptr);
            for (int i = 0; i < 4; ++i)
                list.insertItem(new CountedRow(&list, QString::number(i)));
            QCOMPARE(liveRows, 4);
            list.removeItem(1);
            QCOMPARE(liveRows, 3);
            QCOMPARE(texts(list), QStringList({"0", "2", "3"}));
            list.removeItem(7);  // out of range: logged, nothing removed
            list.removeItem(-1);
            QCOMPARE(list.count(), 3);
            list.clear();
            QCOMPARE(liveRows, 0);
            QCOMPARE(list.count(), 0);
            QCOMPARE(list.currentItem(), -1);
            list.insertItem(new CountedRow(&list, QStringLiteral("again")));
            QCOMPARE(list.currentItem(), 0);
        }
        QCOMPARE(liveRows, 0);  // the list box deletes what it still holds
    }

    void rowDeletedByItsUserLeavesTheList()
    {
        ZListBox list(nullptr);
        fill(list, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        list.setCurrentItem(2);
        delete list.item(1);
        QCOMPARE(texts(list), QStringList({"a", "c"}));
        QCOMPARE(list.currentItem(), 1);
    }

    void currentRowFollowsRemovals()
    {
        ZListBox list(nullptr);
        fill(list, {"a", "b", "c", "d", "e"});
        QCOMPARE(list.currentItem(), 0);  // the first row came with a highlight
        list.setCurrentItem(3);
        list.removeItem(0);  // above the current row: it moves up
        QCOMPARE(list.currentItem(), 2);
        QCOMPARE(textAt(list, list.currentItem()), QStringLiteral("d"));
        list.removeItem(2);  // the current row: the next one takes over
        QCOMPARE(textAt(list, list.currentItem()), QStringLiteral("e"));
        list.removeItem(list.currentItem());  // the last row: the one above
        QCOMPARE(textAt(list, list.currentItem()), QStringLiteral("c"));
        list.removeItem(3);  // out of range
        QCOMPARE(list.currentItem(), 1);
        list.insertItem(row(list, QStringLiteral("top")), 0);  // insertion above keeps the row
        QCOMPARE(textAt(list, list.currentItem()), QStringLiteral("c"));
        while (list.count() > 0)
            list.removeItem(0);
        QCOMPARE(list.currentItem(), -1);
    }

    void currentRowRefusesBadIndexes()
    {
        ZListBox list(nullptr);
        // The first row of an empty list is no one's mistake: not a word.
        LogCapture out;
        LogCapture errors(stderr);
        list.setCurrentItem(0);
        QVERIFY(errors.finish().isEmpty());
        fill(list, {"a", "b"});
        QSignalSpy high(&list, &ZListBox::highlighted);
        list.setCurrentItem(1);
        // A row that is not there is noted, on standard error only.
        LogCapture misuse(stderr);
        list.setCurrentItem(9);
        list.setCurrentItem(-5);
        QCOMPARE(misuse.finish().size(), 2);
        QVERIFY(out.finish().isEmpty());
        QCOMPARE(list.currentItem(), 1);
        QCOMPARE(high.count(), 1);
        QCOMPARE(high.at(0).at(0).toInt(), 1);
        list.setCurrentItem(-1);
        QCOMPARE(list.currentItem(), -1);
    }

    void returnSelectsTheCurrentRowWithBothSignals()
    {
        ZListBox list(nullptr);
        fill(list, {"a", "b", "c"});
        QSignalSpy byIndex(&list, qOverload<int>(&ZListBox::selected));
        QSignalSpy byItem(&list, qOverload<ZSettingItem*>(&ZListBox::selected));
        list.setCurrentItem(1);
        QTest::keyClick(&list, Qt::Key_Return);
        QTest::keyClick(&list, Qt::Key_Enter);
        QCOMPARE(byIndex.count(), 2);
        QCOMPARE(byIndex.at(0).at(0).toInt(), 1);
        QCOMPARE(byItem.count(), 2);
        QCOMPARE(byItem.at(0).at(0).value<ZSettingItem*>(), list.item(1));
    }

    void clickMakesTheRowCurrentAndSelectsIt()
    {
        ZListBox list(nullptr);
        list.resize(240, 200);
        fill(list, {"a", "b", "c"});
        list.show();
        QSignalSpy byIndex(&list, qOverload<int>(&ZListBox::selected));
        QSignalSpy byItem(&list, qOverload<ZSettingItem*>(&ZListBox::selected));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.itemRect(2).center());
        QCOMPARE(list.currentItem(), 2);
        QCOMPARE(byIndex.count(), 1);
        QCOMPARE(byIndex.at(0).at(0).toInt(), 2);
        QCOMPARE(byItem.count(), 1);
        QCOMPARE(byItem.at(0).at(0).value<ZSettingItem*>(), list.item(2));
        // Below the last row: nothing.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, 190));
        QCOMPARE(byIndex.count(), 1);
        QCOMPARE(list.currentItem(), 2);
    }

    void keysAndClicksSkipSeparatorsAndUnselectableRows()
    {
        ZListBox list(nullptr);
        list.resize(240, 300);
        list.insertItem(row(list, QStringLiteral("hide")));
        list.insertItem(separator(list));
        ZSettingItem* off = row(list, QStringLiteral("off"));
        off->setSelectable(false);
        list.insertItem(off);
        list.insertItem(row(list, QStringLiteral("app")));
        list.show();
        QVERIFY(list.item(1)->isSeparator());
        QVERIFY(!list.item(1)->isSelectable());

        QCOMPARE(list.currentItem(), 0);
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.currentItem(), 3);
        QTest::keyClick(&list, Qt::Key_Down);  // no wrap at the end
        QCOMPARE(list.currentItem(), 3);
        QTest::keyClick(&list, Qt::Key_Up);
        QCOMPARE(list.currentItem(), 0);
        QTest::keyClick(&list, Qt::Key_Up);  // nor at the top
        QCOMPARE(list.currentItem(), 0);

        QSignalSpy byIndex(&list, qOverload<int>(&ZListBox::selected));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.itemRect(1).center());
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.itemRect(2).center());
        QCOMPARE(byIndex.count(), 0);
        QCOMPARE(list.currentItem(), 0);
        list.setCurrentItem(1);
        list.setCurrentItem(2);
        QCOMPARE(list.currentItem(), 0);
    }

    void separatorIsNotHighlightedOnInsert()
    {
        ZListBox list(nullptr);
        list.insertItem(separator(list));
        QCOMPARE(list.currentItem(), -1);
        list.insertItem(row(list, QStringLiteral("a")), -1, false);
        QCOMPARE(list.currentItem(), -1);  // no auto highlight asked
        list.insertItem(row(list, QStringLiteral("b")));
        QCOMPARE(list.currentItem(), 2);
    }

    void currentRowTurnedSeparatorMovesOn()
    {
        ZListBox list(nullptr);
        fill(list, {"a", "b", "c"});
        list.setCurrentItem(1);
        list.item(1)->setSelectable(false);
        QCOMPARE(list.currentItem(), 2);
    }

    void sortKeepsTheListInOrder()
    {
        ZListBox list(nullptr);
        list.sort(true);  // switched on while empty, as the add dialog does
        fill(list, {"pear", "Apple", "banana", "apple"});
        QCOMPARE(texts(list), QStringList({"Apple", "apple", "banana", "pear"}));
        list.insertItem(row(list, QStringLiteral("cherry")), 0);  // index ignored when sorted
        QCOMPARE(texts(list), QStringList({"Apple", "apple", "banana", "cherry", "pear"}));
        list.sort(false);
        QCOMPARE(texts(list), QStringList({"pear", "cherry", "banana", "apple", "Apple"}));
        list.insertItem(row(list, QStringLiteral("date")));
        QCOMPARE(textAt(list, 1), QStringLiteral("date"));
    }

    void sortOfExistingRowsKeepsTheCurrentRow()
    {
        ZListBox list(nullptr);
        fill(list, {"c", "a", "b"});
        list.setCurrentItem(0);
        list.sort(true);
        QCOMPARE(texts(list), QStringList({"a", "b", "c"}));
        QCOMPARE(list.currentItem(), 2);
    }

    void checkMarksAreRadioStyle()
    {
        ZListBox list(nullptr);
        fill(list, {"On", "Off", "Auto"});
        QCOMPARE(list.checkedIndex(), -1);
        QVERIFY(!list.isCheckable());
        list.checkItem(0, true);
        QVERIFY(list.isCheckable());
        list.checkItem(2, true);
        QVERIFY(!list.isChecked(0));
        QVERIFY(list.isChecked(2));
        QCOMPARE(list.checkedIndex(), 2);
        list.checkItem(2, false);
        QCOMPARE(list.checkedIndex(), -1);
        list.checkItem(5, true);  // logged, nothing changes
        QCOMPARE(list.checkedIndex(), -1);
        QVERIFY(!list.isChecked(5));
    }

    void reservedDataStaysWithTheRow()
    {
        ZListBox list(nullptr);
        list.sort(true);
        ZSettingItem* b = row(list, QStringLiteral("b"));
        b->setReservedData(41);
        ZSettingItem* a = row(list, QStringLiteral("a"));
        a->setReservedData(-7);
        list.insertItem(b);
        list.insertItem(a);
        QCOMPARE(list.item(0)->getReservedData(), -7);
        QCOMPARE(list.item(1)->getReservedData(), 41);
        QCOMPARE(list.item(1)->listBox(), &list);
    }

    void fontsPerRegion()
    {
        ZListBox list(nullptr);
        QFont base = list.font();
        base.setPointSize(10);
        list.setFont(base);
        // Unset regions: emphasized lines in the list's font, others smaller.
        QCOMPARE(list.lineFont(true, false).pointSize(), 10);
        QVERIFY(list.lineFont(false, false).pointSize() < 10);

        QFont twelve = base;
        twelve.setPointSize(12);
        twelve.setBold(true);
        list.setItemFont(2, twelve, false);
        list.setItemFont(2, twelve, true);
        QCOMPARE(list.lineFont(true, false), twelve);
        QCOMPARE(list.lineFont(false, true), twelve);

        QFont twenty = base;
        twenty.setPointSize(20);
        list.setItemFont(0, twenty, false);
        QCOMPARE(list.lineFont(true, false).pointSize(), 20);
        QCOMPARE(list.lineFont(false, false), twelve);  // region 1 still falls back to 2

        QFont small = base;
        small.setPointSize(8);
        list.setItemFont(1, small, true);
        QCOMPARE(list.lineFont(false, true).pointSize(), 8);
        QCOMPARE(list.lineFont(false, false), twelve);
        list.setItemFont(5, small, true);  // no such region: ignored
        QCOMPARE(list.lineFont(true, true), twelve);
    }

    void rowsGrowWithLinesAndFonts()
    {
        ZListBox list(nullptr);
        list.resize(240, 400);
        auto* one = row(list, QStringLiteral("one line"));
        auto* two = row(list, QStringLiteral("title"));
        two->appendSubItem(1, QStringLiteral("value"), false);
        list.insertItem(one);
        list.insertItem(two);
        list.insertItem(separator(list));
        const int h1 = list.itemRect(0).height();
        const int h2 = list.itemRect(1).height();
        QVERIFY(h1 >= 24);
        QVERIFY(h2 > h1);
        QVERIFY(list.itemRect(2).height() < h1);
        QCOMPARE(list.itemRect(1).top(), list.itemRect(0).bottom() + 1);

        QFont big = list.font();
        big.setPointSize(30);
        list.setItemFont(0, big, false);
        QVERIFY(list.itemRect(0).height() > h1);
    }

    // The current row's long text scrolls, one step at a time: a pause, on
    // to its end, a pause, back to its start. A row that fits, or a list
    // that is not on screen, runs no timer.
    void currentRowsLongTextScrollsAndComesBack()
    {
        QWidget window;
        window.resize(120, 100);
        auto* list = new ZListBox(&window);
        list->setGeometry(0, 0, 120, 100);
        const QString longText = QStringLiteral("a text far wider than this narrow list of rows");
        fill(*list, {QStringLiteral("fits"), longText});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(list->currentItem(), 0);
        QVERIFY(!list->isMarqueeRunning());

        list->setCurrentItem(1);
        QVERIFY(list->isMarqueeRunning());
        int steps = 0;
        while (list->marqueeOffset() == 0 && steps < 1000) {
            list->stepMarquee();
            ++steps;
        }
        QVERIFY2(steps > 1, "it rests before it moves");
        int furthest = 0;
        while (list->marqueeOffset() >= furthest && steps < 10000) {
            furthest = list->marqueeOffset();
            list->stepMarquee();
            ++steps;
        }
        QCOMPARE(list->marqueeOffset(), 0);
        // Far enough for the end of the text to come into its box.
        const int advance = QFontMetrics(list->lineFont(true, true)).horizontalAdvance(longText);
        QVERIFY2(furthest >= advance - list->viewport()->width() && furthest < advance,
                 qPrintable(QStringLiteral("%1 of %2").arg(furthest).arg(advance)));

        list->stepMarquee();
        QCOMPARE(list->marqueeOffset(), 0);  // resting at the start again
        window.hide();
        QVERIFY(!list->isMarqueeRunning());
        window.show();
        QVERIFY(list->isMarqueeRunning());
        list->setCurrentItem(0);
        QVERIFY(!list->isMarqueeRunning());
    }

    void twoThousandRowsScrollToTheCurrentRow()
    {
        ZListBox list(nullptr);
        list.resize(240, 240);
        list.show();
        for (int i = 0; i < 2000; ++i)
            list.insertItem(row(list, QString::number(i)), 0, true);
        QCOMPARE(list.count(), 2000);
        QCOMPARE(textAt(list, 0), QStringLiteral("1999"));
        QCOMPARE(textAt(list, list.currentItem()), QStringLiteral("0"));  // the first one in
        list.setCurrentItem(0);
        QTest::keyClick(&list, Qt::Key_End);
        QCOMPARE(list.currentItem(), 1999);
        const QRect r = list.itemRect(1999);
        QVERIFY(r.top() >= 0 && r.bottom() < list.viewport()->height());
        QCOMPARE(list.itemAt(r.center()), 1999);
        QTest::keyClick(&list, Qt::Key_Home);
        QCOMPARE(list.itemRect(0).top(), 0);
        QTest::keyClick(&list, Qt::Key_PageDown);
        QVERIFY(list.currentItem() > 3);
    }

    void scrollRangeFollowsInsertsAndRemovals()
    {
        ZListBox list(nullptr);
        list.resize(240, 240);
        list.show();
        for (int i = 0; i < 100; ++i)
            list.insertItem(row(list, QString::number(i)), -1, true);
        QScrollBar* bar = list.verticalScrollBar();
        const int rows = list.itemRect(99).bottom() + 1;  // the bar is still at the top
        QTRY_COMPARE(bar->maximum(), rows - list.viewport()->height());

        bar->setValue(bar->maximum());
        while (list.count() > 3)
            list.removeItem(list.count() - 1);
        // The rows left fit: the list is back at its top, showing them.
        QTRY_COMPARE(bar->maximum(), 0);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(list.itemRect(0).top(), 0);
        QCOMPARE(list.itemAt(list.itemRect(2).center()), 2);
    }

    void rowsFollowTheListsOwnFont()
    {
        ZListBox list(nullptr);
        list.resize(240, 400);
        list.insertItem(row(list, QStringLiteral("one line")));
        const int before = list.itemRect(0).height();
        QFont big = list.font();
        big.setPointSize(40);
        list.setFont(big);
        QVERIFY(list.itemRect(0).height() > before);
    }

    void selectedReceiverMayClearTheList()
    {
        ZListBox list(nullptr);
        fill(list, {"a", "b"});
        QSignalSpy byItem(&list, qOverload<ZSettingItem*>(&ZListBox::selected));
        connect(&list, qOverload<int>(&ZListBox::selected), &list, [&list](int) { list.clear(); });
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.count(), 0);
        QCOMPARE(byItem.count(), 0);  // the row was gone before the second signal
    }
};
ZK_TEST(ListBoxTest)

class ListRowTest : public QObject
{
    Q_OBJECT
private slots:
    void layoutsParseIntoFields()
    {
        const QList<ZListField> task = parseListLayout(QStringLiteral("%16I%214M%20M"));
        QCOMPARE(task.size(), 3);
        QCOMPARE(task.at(0).kind, ZListField::Icon);
        QCOMPARE(task.at(0).width, 16);
        QCOMPARE(task.at(1).kind, ZListField::Text);
        QCOMPARE(task.at(1).width, 214);
        QCOMPARE(task.at(2).kind, ZListField::Text);
        QCOMPARE(task.at(2).width, 20);

        const QList<ZListField> plain = parseListLayout(QStringLiteral("%I%M"));
        QCOMPARE(plain.size(), 2);
        QCOMPARE(plain.at(0).kind, ZListField::Icon);
        QCOMPARE(plain.at(0).width, 0);
        QCOMPARE(plain.at(1).kind, ZListField::Text);

        QCOMPARE(parseListLayout(QStringLiteral("%M")).size(), 1);
    }

    void badLayoutsReadAsOneTextField()
    {
        for (const char* bad : {"", "abc", "%X", "%16", "%I%", "%I M", "%99999999I"}) {
            const QList<ZListField> f = parseListLayout(QLatin1String(bad));
            QCOMPARE(f.size(), 1);
            QCOMPARE(f.at(0).kind, ZListField::Text);
            QCOMPARE(f.at(0).width, 0);
        }
    }

    void fieldWidthsShareTheRest()
    {
        const auto task = parseListLayout(QStringLiteral("%16I%214M%20M"));
        QCOMPARE(listFieldWidths(task, 190, {0, 0, 0}), QList<int>({16, 214, 20}));
        const auto plain = parseListLayout(QStringLiteral("%I%M"));
        QCOMPARE(listFieldWidths(plain, 240, {25, 0}), QList<int>({25, 215}));
        QCOMPARE(listFieldWidths(plain, 240, {0, 0}), QList<int>({0, 240}));
        const auto two = parseListLayout(QStringLiteral("%20I%M%M"));
        QCOMPARE(listFieldWidths(two, 121, {0, 0, 0}), QList<int>({20, 50, 51}));
        QCOMPARE(listFieldWidths(two, 10, {0, 0, 0}), QList<int>({20, 0, 0}));
    }

    void subItemsByFieldAndLine()
    {
        ZListBox list(nullptr);
        ZSettingItem item(&list, QStringLiteral("%16I%214M%20M"));
        QCOMPARE(item.fieldCount(), 3);
        item.appendSubItem(1, QStringLiteral("name"), true);
        item.appendSubItem(1, QStringLiteral("detail"), false);
        item.appendSubItem(2, QStringLiteral("9"));
        item.appendSubItem(7, QStringLiteral("lost"));  // no such field: logged
        QCOMPARE(item.subItem(1, 0), QStringLiteral("name"));
        QCOMPARE(item.subItem(1, 1), QStringLiteral("detail"));
        QVERIFY(item.isEmphasized(1, 0));
        QVERIFY(!item.isEmphasized(1, 1));
        QCOMPARE(item.subItem(2, 0), QStringLiteral("9"));
        QVERIFY(item.subItem(1, 2).isNull());
        QVERIFY(item.subItem(7, 0).isNull());
        QCOMPARE(item.sortText(), QStringLiteral("name"));

        item.setSubItem(1, 1, QStringLiteral("changed"), true, 1);
        QCOMPARE(item.subItem(1, 1), QStringLiteral("changed"));
        QVERIFY(item.isEmphasized(1, 1));
        item.setSubItem(2, 3, QStringLiteral("far"), false);
        QCOMPARE(item.subItemCount(2), 4);
        QCOMPARE(item.subItem(2, 3), QStringLiteral("far"));
        item.setSubItem(2, -1, QStringLiteral("bad"), false);
        QCOMPARE(item.subItemCount(2), 4);
    }

    void settingRowWithOneTextField()
    {
        ZListBox list(nullptr);
        auto* item = new ZSettingItem(&list, QStringLiteral("%M"));
        item->appendSubItem(0, QStringLiteral(" "), true);
        item->appendSubItem(0, QStringLiteral(" "), false);
        item->setSubItem(0, 0, QStringLiteral("Show All Tasks"), true, 1);
        item->setSubItem(0, 1, QStringLiteral("Off"), false, 1);
        list.insertItem(item);
        QCOMPARE(item->subItem(0, 0), QStringLiteral("Show All Tasks"));
        QCOMPARE(item->subItem(0, 1), QStringLiteral("Off"));
        QCOMPARE(item->subItemCount(0), 2);
    }

    void pixmapsPerField()
    {
        ZListBox list(nullptr);
        ZSettingItem item(&list, QStringLiteral("%I%M"));
        QPixmap pix(19, 19);
        pix.fill(Qt::red);
        item.setPixmap(0, pix);
        QCOMPARE(item.pixmap(0).size(), QSize(19, 19));
        QVERIFY(item.pixmap(1).isNull());
        item.setPixmap(4, pix);  // logged
        QVERIFY(item.pixmap(4).isNull());
        QPixmap blue(8, 8);
        blue.fill(Qt::blue);
        item.appendSubItem(1, QStringLiteral("t"), true, &blue);
        QCOMPARE(item.pixmap(1).size(), QSize(8, 8));
    }

    void pictureLoaderRunsOnceWhenFirstNeeded()
    {
        ZListBox list(nullptr);
        list.resize(240, 240);
        int loads = 0;
        auto* lazy = new ZSettingItem(&list, QStringLiteral("%I%M"));
        lazy->appendSubItem(1, QStringLiteral("lazy"), true);
        lazy->setPixmapLoader(0, [&loads] {
            ++loads;
            QPixmap pix(16, 16);
            pix.fill(Qt::red);
            return pix;
        });
        auto* eager = new ZSettingItem(&list, QStringLiteral("%I%M"));
        eager->appendSubItem(1, QStringLiteral("eager"), true);
        QPixmap icon(19, 19);
        icon.fill(Qt::blue);
        eager->setPixmap(0, icon);
        list.insertItem(lazy);
        list.insertItem(eager);

        // Laid out as a row with an icon-sized picture, without the picture.
        QCOMPARE(list.itemRect(0).height(), list.itemRect(1).height());
        QCOMPARE(loads, 0);
        QCOMPARE(lazy->pixmap(0).size(), QSize(16, 16));
        QCOMPARE(loads, 1);
        list.grab();
        QCOMPARE(lazy->pixmap(0).size(), QSize(16, 16));
        QCOMPARE(loads, 1);

        // A picture set afterwards replaces a loader that never ran.
        int replacedLoads = 0;
        eager->setPixmapLoader(0, [&replacedLoads] { ++replacedLoads; return QPixmap(); });
        eager->setPixmap(0, icon);
        list.grab();
        QCOMPARE(eager->pixmap(0).size(), QSize(19, 19));
        QCOMPARE(replacedLoads, 0);
    }

    void onlyDrawnRowsLoadTheirPictures()
    {
        ZListBox list(nullptr);
        list.resize(240, 240);
        QList<int> loaded;
        for (int i = 0; i < 300; ++i) {
            auto* item = new ZSettingItem(&list, QStringLiteral("%I%M"));
            item->appendSubItem(1, QString::number(i), true);
            item->setPixmapLoader(0, [&loaded, i] {
                loaded.append(i);
                QPixmap pix(19, 19);
                pix.fill(Qt::green);
                return pix;
            });
            list.insertItem(item);
        }
        list.show();
        list.grab();
        // The first screenful, each once.
        QVERIFY(!loaded.isEmpty() && loaded.size() < 20);
        QCOMPARE(loaded.first(), 0);
        QCOMPARE(QSet<int>(loaded.cbegin(), loaded.cend()).size(), loaded.size());
        const qsizetype firstScreen = loaded.size();
        list.setCurrentItem(299);
        list.grab();
        QVERIFY(loaded.contains(299));
        QVERIFY(loaded.size() < 2 * firstScreen + 2);
    }

    void listBoxItemCarriesItsTextInFieldOne()
    {
        ZListBox list(QStringLiteral("%I%M"), nullptr);
        auto* named = new ZListBoxItem(&list, QStringLiteral("/lib/libc.so.6"));
        auto* empty = new ZListBoxItem(&list);
        empty->appendSubItem(1, QStringLiteral("/usr/lib/libqte.so"), true, nullptr);
        list.insertItem(named);
        list.insertItem(empty);
        QCOMPARE(named->subItem(1, 0), QStringLiteral("/lib/libc.so.6"));
        QCOMPARE(empty->subItemCount(1), 1);
        QCOMPARE(empty->subItem(1, 0), QStringLiteral("/usr/lib/libqte.so"));
        QCOMPARE(list.layout(), QStringLiteral("%I%M"));
    }

    void separatorWithTextAndPicture()
    {
        ZListBox list(nullptr);
        ZListItem* sep = new ZListBoxItem(&list, QStringLiteral("row"));
        QPixmap pix(6, 6);
        pix.fill(Qt::green);
        sep->setSeparator(QStringLiteral("Group"), &pix);
        sep->setSelectable(true);  // a separator stays unselectable
        list.insertItem(sep);
        QVERIFY(sep->isSeparator());
        QVERIFY(!sep->isSelectable());
        QCOMPARE(sep->separatorText(), QStringLiteral("Group"));
        QCOMPARE(list.currentItem(), -1);
    }
};
ZK_TEST(ListRowTest)

#include "listbox_test.moc"
