#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/Language.h"
#include "app/MruList.h"
#include "app/ui/controls/MruBar.h"
#include "platform/IniFile.h"

namespace {

std::vector<int> Keys(const TMruList& list)
{
    std::vector<int> keys;
    for (int i = 0; i < TMruList::Count; ++i)
        keys.push_back(list.Entry(i).Key);
    return keys;
}

TMruList ListOf(std::initializer_list<int> added)
{
    TMruList list;
    for (int key : added)
        list.Add(key, QString::number(key), [](QObject*) {});
    return list;
}

QRgb ColourOfKey(std::int32_t key) { return QColor::fromHsv((key * 37) % 360, 255, 200).rgb(); }

QIcon GlyphOfKey(std::int32_t key)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(QColor(ColourOfKey(key)));
    return QIcon(pixmap);
}

QRgb IconColour(const QToolButton* button)
{
    return button->icon().pixmap(20, 20).toImage().pixel(10, 10);
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// A window with the bar floating in it, shown so that the bar counts as visible.
struct BarWindow {
    BarWindow()
    {
        window.resize(400, 300);
        bar = new TMruBar(&window);
        bar->SetGlyphSource(GlyphOfKey);
        window.show();
    }
    QWidget window;
    TMruBar* bar;
};

} // namespace

TEST(MruList, KeepsTheLastFiveCommandsMostRecentFirst)
{
    const struct {
        std::initializer_list<int> added;
        std::vector<int> keys;
    } cases[] = {
        {{}, {0, 0, 0, 0, 0}},
        {{3}, {3, 0, 0, 0, 0}},
        {{3, 3}, {3, 0, 0, 0, 0}},
        {{3, 5, 3}, {3, 5, 0, 0, 0}},
        {{1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}},
        {{1, 2, 3, 4, 5, 6}, {6, 5, 4, 3, 2}},       // the first one drops out
        {{1, 2, 3, 4, 5, 3}, {3, 5, 4, 2, 1}},       // from the middle to the top
        {{1, 2, 3, 4, 5, 1}, {1, 5, 4, 3, 2}},       // the last one comes back up
        {{1, 2, 3, 4, 5, 5}, {5, 4, 3, 2, 1}},
        {{1, 2, 3, 4, 5, 6, 7, 2}, {2, 7, 6, 5, 4}}, // a dropped one comes back as new
        {{4, 0, 7}, {7, 4, 0, 0, 0}},                // key 0 is no command
    };
    for (const auto& c : cases) {
        const TMruList list = ListOf(c.added);
        EXPECT_EQ(Keys(list), c.keys);
        for (int i = 0; i < TMruList::Count; ++i) {
            const MRURecord& entry = list.Entry(i);
            if (entry.Key != 0) {
                EXPECT_EQ(entry.Hint, QString::number(entry.Key)) << "hints travel with their keys";
                EXPECT_TRUE(entry.Handler);
            }
        }
    }
}

TEST(MruList, TheBarStaysInsideTheClientArea)
{
    const QSize bar(29, 136);
    const QSize client(400, 300);
    const struct {
        QPoint wanted, kept;
    } cases[] = {
        {{50, 60}, {50, 60}},
        {{-10, 60}, {0, 60}},
        {{50, -1}, {50, 0}},
        {{390, 60}, {371, 60}},   // flush with the right edge
        {{50, 200}, {50, 164}},   // flush with the bottom edge
        {{-5, 999}, {0, 164}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampBarPosition(c.wanted, bar, client), c.kept) << c.wanted.x() << "," << c.wanted.y();
    EXPECT_EQ(ClampBarPosition({10, 10}, bar, QSize(20, 100)), QPoint(0, 0)) << "a window smaller than the bar";
}

TEST(MruBar, HasTheNamedGripAndFiveButtons)
{
    QWidget window;
    auto* bar = new TMruBar(&window);
    EXPECT_EQ(window.findChild<TMruBar*>(QStringLiteral("pnlMRU")), bar);
    EXPECT_EQ(bar->size(), QSize(29, 136));
    const auto* grip = bar->findChild<QWidget*>(QStringLiteral("pnlMRUb"));
    ASSERT_NE(grip, nullptr);
    EXPECT_EQ(grip->size(), QSize(25, 3));
    const int tops[] = {9, 34, 59, 84, 109};
    for (int i = 0; i < TMruList::Count; ++i) {
        const auto* button = bar->findChild<QToolButton*>(QStringLiteral("sbtMRU%1").arg(i + 1));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button, bar->Button(i));
        EXPECT_EQ(button->geometry(), QRect(2, tops[i], 25, 25));
        EXPECT_TRUE(button->toolTip().isEmpty());
    }
}

TEST(MruBar, ButtonsShowTheListWithGlyphsAndHints)
{
    BarWindow w;
    for (int key = 1; key <= 6; ++key)
        w.bar->MRUadd(key, QStringLiteral("Command %1").arg(key), [](QObject*) {});
    for (int i = 0; i < TMruList::Count; ++i) {
        const int key = 6 - i;
        EXPECT_EQ(w.bar->Button(i)->toolTip(), QStringLiteral("Command %1").arg(key));
        EXPECT_EQ(IconColour(w.bar->Button(i)), ColourOfKey(key)) << "button " << i + 1;
    }
}

TEST(MruBar, AButtonStartsItsCommandWhichMovesToTheTop)
{
    BarWindow w;
    std::vector<int> started;
    std::vector<QObject*> senders;
    // Each command adds itself as it starts, as the real starters do.
    std::function<void(int)> start;
    start = [&](int key) {
        started.push_back(key);
        // The capture is read after the restart has rebound the button.
        w.bar->MRUadd(key, QStringLiteral("Command %1").arg(key), [&start, &senders, key](QObject* sender) {
            start(key);
            senders.push_back(sender);
        });
    };
    for (int key : {11, 12, 13})
        start(key);
    ASSERT_EQ(Keys(w.bar->List()), (std::vector<int>{13, 12, 11, 0, 0}));

    w.bar->Button(2)->click();
    EXPECT_EQ(started.back(), 11);
    EXPECT_EQ(senders, std::vector<QObject*>{w.bar->Button(2)}) << "the bar button is the sender";
    EXPECT_EQ(Keys(w.bar->List()), (std::vector<int>{11, 13, 12, 0, 0}));
    EXPECT_EQ(w.bar->Button(0)->toolTip(), "Command 11");
    EXPECT_EQ(w.bar->Button(2)->toolTip(), "Command 12");

    w.bar->Button(0)->click();
    EXPECT_EQ(started.back(), 11) << "the button runs its rebound command";
    w.bar->Button(4)->click();
    EXPECT_EQ(started.size(), 5u) << "an empty button does nothing";
}

TEST(MruBar, AHiddenBarKeepsItsList)
{
    BarWindow w;
    w.bar->MRUadd(7, QStringLiteral("Seven"), [](QObject*) {});
    w.bar->hide();
    w.bar->MRUadd(8, QStringLiteral("Eight"), [](QObject*) {});
    w.bar->MRUadd(9, QStringLiteral("Nine"), [](QObject*) {});
    EXPECT_EQ(Keys(w.bar->List()), (std::vector<int>{7, 0, 0, 0, 0}));
    w.bar->show();
    EXPECT_EQ(Keys(w.bar->List()), (std::vector<int>{7, 0, 0, 0, 0}));
    EXPECT_EQ(w.bar->Button(0)->toolTip(), "Seven");
    w.bar->MRUadd(8, QStringLiteral("Eight"), [](QObject*) {});
    EXPECT_EQ(Keys(w.bar->List()), (std::vector<int>{8, 7, 0, 0, 0}));
}

TEST(MruBar, HintsComeFromTheLanguageFile)
{
    LanguageFile = std::make_unique<IniFile>(
        IniFile::FromText("[frmMain]\nsbtRectangle.Hint=Rectangle\nsbtPoly.Hint=Polyline\n"));
    BarWindow w;
    w.bar->MRUadd(15, GetLangHint(QStringLiteral("sbtRectangle")), [](QObject*) {});
    w.bar->MRUadd(16, GetLangHint(QStringLiteral("sbtPoly")), [](QObject*) {});
    LanguageFile.reset();
    EXPECT_EQ(w.bar->Button(0)->toolTip(), "Polyline");
    EXPECT_EQ(w.bar->Button(1)->toolTip(), "Rectangle");
}

TEST(MruBar, DraggingStopsAtTheWindowEdges)
{
    BarWindow w;
    QWidget* grip = w.bar->findChild<QWidget*>(QStringLiteral("pnlMRUb"));
    ASSERT_NE(grip, nullptr);
    const struct {
        QPoint by;
        QPoint to;
    } cases[] = {
        {{30, -20}, {130, 80}},
        {{-500, 0}, {0, 100}},
        {{0, -500}, {100, 0}},
        {{500, 0}, {371, 100}},
        {{0, 500}, {100, 164}},
    };
    for (const auto& c : cases) {
        for (QWidget* handle : {static_cast<QWidget*>(w.bar), grip}) {
            w.bar->move(100, 100);
            const QPoint start(10, 1);
            SendMouse(handle, QEvent::MouseButtonPress, start);
            SendMouse(handle, QEvent::MouseMove, start + c.by);
            SendMouse(handle, QEvent::MouseButtonRelease, start + c.by);
            EXPECT_EQ(w.bar->pos(), c.to) << handle->objectName().toStdString() << " by " << c.by.x() << ","
                                          << c.by.y();
            SendMouse(w.bar, QEvent::MouseMove, QPoint(0, 0));
            EXPECT_EQ(w.bar->pos(), c.to) << "no dragging after the release";
        }
    }
}
