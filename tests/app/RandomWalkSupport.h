#pragma once

// The random walk's steps over the main window, as an impatient user would
// make them: tool-bar buttons and menu commands, clicks and drags in the view,
// Enter and Esc, the pages' buttons and typed values. The walks that run them
// (offscreen, and on a display with the 3D view) share them from here, with
// the closer of the dialogs they open and the run of their seeds.
//
// KESTRO_WALK_SECONDS (default 5) bounds a walk; seeds 1, 2, ... run one
// after another until then. KESTRO_WALK_SEED runs one seed alone, and
// KESTRO_WALK_STEPS sets the steps of a seed (default 300, or the
// walk's own); KESTRO_WALK_TRACE=1
// prints every step as it is done.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "WidgetInput.h"
#include "app/ui/controls/MenuSpeedButtons.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/ui/CADViewport.h"

inline long EnvironmentNumber(const char* name, long fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

template <class T>
inline std::vector<T*> Usable(QWidget* parent)
{
    std::vector<T*> found;
    if (!parent)
        return found;
    for (T* widget : parent->findChildren<T*>())
        if (widget->isVisible() && widget->isEnabled())
            found.push_back(widget);
    return found;
}

class TWalk {
public:
    TWalk(TfrmMain& frm, unsigned seed) : Frm(frm), Random(seed) {}

    // One step; returns what it did.
    std::string Step()
    {
        switch (Pick(10)) {
        case 0:
        case 1:
            return ClickToolButton();
        case 2:
            return ChooseFromMenu();
        case 3:
        case 4:
            return ClickView();
        case 5:
            return DragView();
        case 6:
            return PressKey();
        case 7:
            return ClickPageButton();
        case 8:
            return TypeIntoPage();
        default:
            return ChangePageValue();
        }
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(Random); }
    float Coordinate() { return std::uniform_real_distribution<float>(-5.0f, 105.0f)(Random); }

    template <class T>
    T* Any(const std::vector<T*>& items)
    {
        return items.empty() ? nullptr : items[static_cast<std::size_t>(Pick(static_cast<int>(items.size())))];
    }

    QPoint OnScreen(float x, float y)
    {
        const TPoint2D at = Frm.VistaGrafica->Core2D().WorldToScreen(MakePoint2D(x, y));
        const QRect view = Frm.VistaGrafica->rect();
        return {std::clamp(static_cast<int>(at.X), 0, view.width() - 1),
                std::clamp(static_cast<int>(at.Y), 0, view.height() - 1)};
    }

    // Half the clicks land on an entity's corner or middle, where picks find it.
    QPoint ViewPoint()
    {
        if (Pick(2) == 0) {
            std::vector<TRect2D> boxes;
            auto it = Frm.LocalCad().ObjectsIterator();
            for (TGraphicObject* object = it->First(); object; object = it->Next())
                boxes.push_back(static_cast<TObject2D*>(object)->Box);
            if (!boxes.empty()) {
                const TRect2D box = boxes[static_cast<std::size_t>(Pick(static_cast<int>(boxes.size())))];
                const float x = Pick(3) == 0 ? box.FirstEdge.X : Pick(2) ? box.SecondEdge.X : (box.FirstEdge.X + box.SecondEdge.X) / 2;
                const float y = Pick(3) == 0 ? box.FirstEdge.Y : Pick(2) ? box.SecondEdge.Y : (box.FirstEdge.Y + box.SecondEdge.Y) / 2;
                if (std::isfinite(x) && std::isfinite(y))
                    return OnScreen(x, y);
            }
        }
        return OnScreen(Coordinate(), Coordinate());
    }

    std::string ClickToolButton()
    {
        std::vector<QToolButton*> buttons;
        for (QToolButton* button : Usable<QToolButton>(Frm.pnlCmd))
            // Closing the window would end the walk, not test it.
            if (button != Frm.sbtExit)
                buttons.push_back(button);
        QToolButton* button = Any(buttons);
        if (!button)
            return "no tool button";
        button->click();
        return "tool button " + button->objectName().toStdString();
    }

    std::string ChooseFromMenu()
    {
        const std::vector<TYarvLinkedMenuSpeedButton*> arrows{Frm.lnkMenuArc,   Frm.lnkMenuLinea, Frm.lnkMenuPunto,
                                                              Frm.lnkMenuModify, Frm.lnkMenuXform, Frm.lnkMenuDelete,
                                                              Frm.lnkMenuAnalisi};
        QMenu* menu = Any(arrows)->ActiveMenu();
        if (!menu)
            return "no menu";
        std::vector<QAction*> items;
        for (QAction* item : menu->actions())
            if (item->isEnabled() && !item->isSeparator())
                items.push_back(item);
        QAction* item = Any(items);
        if (!item)
            return "empty menu";
        item->trigger();
        return "menu " + item->objectName().toStdString();
    }

    std::string ClickView()
    {
        const QPoint at = ViewPoint();
        const Qt::MouseButton button = Pick(8) == 0 ? Qt::MiddleButton : Pick(6) == 0 ? Qt::RightButton : Qt::LeftButton;
        QTest::mouseMove(Frm.VistaGrafica, at);
        Click(Frm.VistaGrafica, at, button);
        std::ostringstream what;
        what << "click " << button << " at " << at.x() << "," << at.y();
        return what.str();
    }

    std::string DragView()
    {
        const QPoint from = ViewPoint();
        const QPoint to = ViewPoint();
        QTest::mousePress(Frm.VistaGrafica, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(Frm.VistaGrafica, (from + to) / 2);
        QTest::mouseMove(Frm.VistaGrafica, to);
        QTest::mouseRelease(Frm.VistaGrafica, Qt::LeftButton, Qt::NoModifier, to);
        std::ostringstream what;
        what << "drag " << from.x() << "," << from.y() << " to " << to.x() << "," << to.y();
        return what.str();
    }

    std::string PressKey()
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Frm.VistaGrafica;
        if (Pick(2) == 0) {
            ::PressKey(target, Qt::Key_Return, QStringLiteral("\r"));
            return "Enter";
        }
        ::PressKey(target, Qt::Key_Escape, QStringLiteral("\x1b"));
        return "Esc";
    }

    QWidget* CurrentPage() { return Frm.PagesVisible() ? Frm.PageControl1->currentWidget() : nullptr; }

    std::string ClickPageButton()
    {
        QAbstractButton* button = Any(Usable<QAbstractButton>(CurrentPage()));
        if (!button)
            return "no page button";
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
        return "page button " + button->objectName().toStdString();
    }

    std::string TypeIntoPage()
    {
        std::vector<QLineEdit*> fields;
        for (QLineEdit* field : Usable<QLineEdit>(CurrentPage()))
            if (!field->isReadOnly())
                fields.push_back(field);
        QLineEdit* field = Any(fields);
        if (!field)
            return "no page field";
        static const char* const values[] = {"5", "-3.5", "0", "0.001", "1e9", "-", "abc", "12x", "", "250"};
        const char* value = values[Pick(10)];
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, QString::fromLatin1(value));
        if (Pick(3) == 0)
            QTest::keyClick(field, Qt::Key_Return);
        return "type '" + std::string(value) + "' into " + field->objectName().toStdString();
    }

    std::string ChangePageValue()
    {
        QAbstractSpinBox* spin = Any(Usable<QAbstractSpinBox>(CurrentPage()));
        if (!spin)
            return "no page value";
        spin->setFocus();
        QTest::keyClick(spin, Pick(2) ? Qt::Key_Up : Qt::Key_Down);
        return "step " + spin->objectName().toStdString();
    }

    TfrmMain& Frm;
    std::mt19937 Random;
};

// Closes the dialogs and menus that a walk opens at once, so that no modal
// loop waits for a person.
class TWalkDialogCloser {
public:
    TWalkDialogCloser()
    {
        Timer.setInterval(5);
        QObject::connect(&Timer, &QTimer::timeout, [] {
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
                else
                    modal->close();
            }
        });
        Timer.start();
    }

private:
    QTimer Timer;
};

// Walks the steps of one seed; after each, with its events handled, asks
// for the problems. Gives an empty text while none were found, else the
// seed, the step, the problems and the last steps done before.
inline std::string WalkSteps(unsigned seed, long steps, const std::function<std::string()>& step,
                             const std::function<std::string()>& problemsAfter)
{
    std::deque<std::string> done;
    const bool trace = EnvironmentNumber("KESTRO_WALK_TRACE", 0) != 0;
    for (long k = 0; k < steps; ++k) {
        done.push_back(step());
        if (trace)
            std::cerr << "seed " << seed << " step " << k << ": " << done.back() << std::endl;
        if (done.size() > 12)
            done.pop_front();
        QApplication::processEvents();
        const std::string problems = problemsAfter();
        if (!problems.empty()) {
            std::ostringstream report;
            report << "seed " << seed << ", step " << k << ": " << problems << "\nlast steps:";
            for (const std::string& what : done)
                report << "\n  " << what;
            return report.str();
        }
    }
    return {};
}

// Runs the seeds the environment asks for; runSeed(seed, steps) gives an
// empty text when the seed's walk was sound, and stop() ends the program of
// the seed before, so that each seed starts it afresh.
inline void RunWalkSeeds(const std::function<std::string(unsigned seed, long steps)>& runSeed,
                         const std::function<void()>& stop, long defaultSteps = 300)
{
    const long steps = EnvironmentNumber("KESTRO_WALK_STEPS", defaultSteps);
    const long oneSeed = EnvironmentNumber("KESTRO_WALK_SEED", 0);
    if (oneSeed > 0) {
        EXPECT_EQ(runSeed(static_cast<unsigned>(oneSeed), steps), "");
        return;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(EnvironmentNumber("KESTRO_WALK_SECONDS", 5));
    unsigned seed = 1;
    do {
        if (seed > 1)
            stop();
        const std::string problems = runSeed(seed, steps);
        ASSERT_EQ(problems, "");
        ++seed;
    } while (std::chrono::steady_clock::now() < end);
    std::cout << "random walk: " << seed - 1 << " seeds of " << steps << " steps\n";
}
