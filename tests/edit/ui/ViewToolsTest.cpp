#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/CommandCode.h"
#include "app/ui/frmMain.h"
#include "cad/drawing/CADClassRegistration.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/EngineGlobals.h"
#include "cad/fonts/VectFont.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/ui/CADViewport.h"
#include "support/ImageTestSupport.h"
#include "support/VectFontTestSupport.h"

namespace {

// The main window on screen with the world (-100, -100)-(100, 100) in its view.
class ViewTools : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterCADClasses();
        Frm = std::make_unique<TfrmMain>();
        Frm->resize(1000, 700);
        Frm->show();
        Frm->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frm.get()));
        View().ZoomWindow(MakeRect2D(-100, -100, 100, 100));
        QApplication::processEvents();
        Cad().Layers().GetLayer(0).SetPenColor(0xFF0000);
    }
    void TearDown() override
    {
        if (Frm->LocalPrg().IsBusy())
            Frm->LocalPrg().StopOperation();
        Frm.reset();
        TransformCopyMode = true;
        TransformRepeat = 1;
        CADCoreClearRegistry();
    }
    TCADCmp2D& Cad() { return Frm->LocalCad(); }
    TCADViewport2DCore& View() { return Frm->VistaGrafica->Core2D(); }
    template <typename T>
    T& Add(std::unique_ptr<T> object)
    {
        return static_cast<T&>(*Cad().AddObject(-1, std::move(object)));
    }
    // The left button's release at a world point, as a pick in the view makes it.
    void PickAt(TPoint2D at)
    {
        Frm->LocalPrg().SetCurrentPoint(at);
        Frm->LocalPrg().SendEvent(TCADPrgEvent::MouseUp, 0, 0, ssLeft);
    }
    void PressAt(TPoint2D at)
    {
        Frm->LocalPrg().SetCurrentPoint(at);
        Frm->LocalPrg().SendEvent(TCADPrgEvent::MouseDown, 0, 0, ssLeft);
    }
    void Choose(QMenu& menu, const char* item)
    {
        for (QAction* action : menu.actions())
            if (action->objectName() == QLatin1String(item))
                action->trigger();
    }
    QAbstractButton* AxisItem(const char* text)
    {
        for (QAbstractButton* item : Frm->gprMirrorAxis->findChildren<QAbstractButton*>())
            if (item->text() == QLatin1String(text))
                return item;
        return nullptr;
    }
    template <typename T>
    T* Control(const char* name)
    {
        return Frm->findChild<T*>(QString::fromLatin1(name));
    }
    // On the round mark: a radio button takes clicks on its mark and text only.
    static void ClickRadio(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    // The pointer leaves the view for the field first: values count as typed
    // only while it is off the view.
    void TypeInto(QLineEdit* field, const char* text)
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(Frm->VistaGrafica, &leave);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
    }
    // Texts in the drawing point at their font: it goes after the window.
    std::unique_ptr<TVectFont> Font;
    std::unique_ptr<TfrmMain> Frm;
};

// The line's two ends in world coordinates, rounded to 0.001: "(x1 y1) (x2 y2)".
std::string Ends(const TObject2D& line)
{
    std::string text;
    for (int i = 0; i < 2; ++i) {
        const TPoint2D p =
            ApplyTransform2D((*static_cast<const TPrimitive2D&>(line).Points())[i], line.GetTransform());
        text += QStringLiteral("%1(%2 %3)")
                    .arg(i == 0 ? "" : " ")
                    .arg(std::round(p.X * 1000) / 1000)
                    .arg(std::round(p.Y * 1000) / 1000)
                    .toStdString();
    }
    return text;
}

} // namespace

// The transform pages as a user works them: the interactive commands read the
// mirror axis, the typed factors and moves, copy or move and the count from
// them, and "All entities" acts on the whole drawing at once.
TEST_F(ViewTools, TransformPagesDriveTheirCommandsAndTheWholeDrawing)
{
    TLine2D& line = Add(std::make_unique<TLine2D>(-1, MakePoint2D(10, 10), MakePoint2D(40, 20)));
    Add(std::make_unique<TCerchio2D>(-1, MakePoint2D(60, 60), MakePoint2D(70, 60)));

    // Mirror: "2 Points" first; "All entities" has no mirror line then and does nothing.
    Choose(*Frm->SplitMenus.at(QStringLiteral("lsbXform")), "mnuMirror");
    EXPECT_EQ(CommandCode, 27);
    EXPECT_EQ(Frm->ActivePage(), 9);
    EXPECT_TRUE(AxisItem("2 Points")->isChecked());
    EXPECT_TRUE(Control<QRadioButton>("rbtMirrorCopy")->isChecked());
    QTest::mouseClick(Frm->sbtMirrorAll, Qt::LeftButton);
    EXPECT_EQ(Ends(line), "(10 10) (40 20)");

    // A line picked, then "Y Axis" and "All entities": every object mirrors
    // once, and the picked line is not mirrored again by the next mouse move.
    PickAt(MakePoint2D(25, 15));
    ClickRadio(AxisItem("Y Axis"));
    QTest::mouseClick(Frm->sbtMirrorAll, Qt::LeftButton);
    EXPECT_FALSE(Frm->LocalPrg().IsBusy());
    Frm->LocalPrg().SendEvent(TCADPrgEvent::MouseMove, 0, 0, {});
    EXPECT_EQ(Ends(line), "(-10 10) (-40 20)");
    ASSERT_EQ(Cad().ObjectsCount(), 2);

    // The interactive mirror with "X Axis" and "Move": the picked line turns
    // over the X axis as soon as the mouse moves.
    Frm->ChooseCommand(27);
    ClickRadio(AxisItem("X Axis"));
    ClickRadio(Control<QRadioButton>("rbtMirrorMove"));
    EXPECT_FALSE(TransformCopyMode);
    PickAt(MakePoint2D(-25, 15));
    Frm->LocalPrg().SendUserEvent(1);
    Frm->LocalPrg().SendEvent(TCADPrgEvent::MouseMove, 0, 0, {});
    EXPECT_EQ(Ends(line), "(-10 -10) (-40 -20)");
    EXPECT_EQ(Cad().ObjectsCount(), 2);

    // Scale: the page shows the switch the mirror page set, and the repeat count.
    Choose(*Frm->SplitMenus.at(QStringLiteral("lsbXform")), "mnuScale");
    EXPECT_EQ(Frm->ActivePage(), 10);
    EXPECT_TRUE(Control<QRadioButton>("rbtScaleMove")->isChecked());
    EXPECT_EQ(Control<QLineEdit>("txtScaleRepeat")->text(), QStringLiteral("1"));
    TypeInto(Control<QLineEdit>("txtScaleRepeat"), "3");
    EXPECT_EQ(TransformRepeat, 3);
    EXPECT_TRUE(Frm->rbtScaleUniform->isChecked());
    EXPECT_FALSE(Frm->txtScaleY->isVisible());

    // Typed uniform factor about a clicked base point, accepted with Done.
    PickAt(MakePoint2D(-25, -15));
    Frm->LocalPrg().SendUserEvent(1);
    PressAt(MakePoint2D(-10, -10));
    TypeInto(Frm->txtScaleX, "2");
    EXPECT_EQ(Frm->txtScaleY->text(), QStringLiteral("2"));
    QTest::mouseClick(Control<QToolButton>("SpeedButton3"), Qt::LeftButton);
    EXPECT_EQ(Ends(line), "(-10 -10) (-70 -30)");

    // Separate factors for the whole drawing: the circle becomes a polyline.
    Frm->ChooseCommand(28);
    ClickRadio(Frm->rbtScaleXy);
    EXPECT_TRUE(Frm->txtScaleY->isVisible());
    TypeInto(Frm->txtScaleX, "0.5");
    TypeInto(Frm->txtScaleY, "3");
    const QImage page = Frm->PageControl1->currentWidget()->grab().toImage();
    ASSERT_TRUE(imagetest::SaveTestImage(page, "edit/scale-page.png"));
    QTest::mouseClick(Frm->sbtScaleAll, Qt::LeftButton);
    EXPECT_EQ(Ends(line), "(-5 -30) (-35 -90)");
    bool polyline = false;
    std::unique_ptr<TGraphicObjIterator> objects = Cad().ObjectsIterator();
    for (TGraphicObject* object = objects->First(); object; object = objects->Next())
        polyline = polyline || object->ClassName() == "TPolyline2D";
    EXPECT_TRUE(polyline);

    // A factor of 0 is refused and the drawing stays as it is.
    TypeInto(Frm->txtScaleY, "0");
    QTest::mouseClick(Frm->sbtScaleAll, Qt::LeftButton);
    EXPECT_EQ(Ends(line), "(-5 -30) (-35 -90)");
    ClickRadio(Frm->rbtScaleUniform);
    EXPECT_FALSE(Frm->txtScaleY->isVisible());

    // Translate by typed values: its page shows the count and the switch too.
    Choose(*Frm->SplitMenus.at(QStringLiteral("lsbXform")), "mnuTranslate");
    EXPECT_EQ(Frm->ActivePage(), 34);
    EXPECT_EQ(Control<QLineEdit>("txtTransRepeat")->text(), QStringLiteral("3"));
    EXPECT_TRUE(Control<QRadioButton>("rbtTransMove")->isChecked());
    PickAt(MakePoint2D(-20, -60));
    Frm->LocalPrg().SendUserEvent(1);
    PressAt(MakePoint2D(0, 0));
    TypeInto(Control<QLineEdit>("txtTransDx"), "5");
    QTest::mouseClick(Control<QToolButton>("sbtTranslateOk"), Qt::LeftButton);
    EXPECT_EQ(Ends(line), "(0 -30) (-30 -90)");

    // The mirror makes one copy whatever the scale page's count said.
    EXPECT_EQ(TransformRepeat, 3);
    Choose(*Frm->SplitMenus.at(QStringLiteral("lsbXform")), "mnuMirror");
    EXPECT_EQ(TransformRepeat, 1);
    const QImage mirrorPage = Frm->PageControl1->currentWidget()->grab().toImage();
    ASSERT_TRUE(imagetest::SaveTestImage(mirrorPage, "edit/mirror-page.png"));
}

// "Show end points" marks both ends of lines, arcs' start and end, circles'
// centre and defining point and polylines' first and last point, of shown
// objects on visible layers only, on the view and not in the drawing.
TEST_F(ViewTools, EndPointMarkersShowOnTheViewUntilItsNextRepaint)
{
    Add(std::make_unique<TLine2D>(-1, MakePoint2D(10, 10), MakePoint2D(40, 10)));
    Add(std::make_unique<TArco2D>(-1, MakePoint2D(70, 20), MakePoint2D(80, 20), 0.0f,
                                  static_cast<float>(std::numbers::pi / 2)));
    Add(std::make_unique<TCerchio2D>(-1, MakePoint2D(20, 60), MakePoint2D(30, 60)));
    const std::vector<TPoint2D> corners = {MakePoint2D(50, 45), MakePoint2D(60, 70), MakePoint2D(80, 55)};
    Add(std::make_unique<TPolyline2D>(-1, corners));
    Add(std::make_unique<TFrame2D>(-1, MakePoint2D(55, 80), MakePoint2D(90, 95)));
    Add(std::make_unique<TLine2D>(-1, MakePoint2D(10, 35), MakePoint2D(40, 35))).Visible = false;
    Cad().Layers().GetLayer(3).Visible = false;
    Add(std::make_unique<TLine2D>(-1, MakePoint2D(10, 85), MakePoint2D(40, 85))).Layer = 3;
    View().Repaint();
    const int objects = Cad().ObjectsCount();

    Frm->ChooseCommand(50);
    ASSERT_EQ(Frm->ActivePage(), 8);
    Choose(*Frm->SplitMenus.at(QStringLiteral("lsbAnalyze")), "mnuShowEndpoints");
    EXPECT_EQ(CommandCode, 999);
    EXPECT_FALSE(Frm->PagesVisible());
    EXPECT_EQ(Cad().ObjectsCount(), objects);

    const QImage shown = View().WindowImage().copy();
    ASSERT_TRUE(imagetest::SaveTestImage(shown, "edit/end-point-markers.png"));
    const QRgb marker = imagetest::Rgb(View().RubberPenColor());
    const auto markersAt = [&](const QImage& image, float x, float y) {
        const TPoint2D at = View().WorldToScreen(MakePoint2D(x, y));
        const QRect around(static_cast<int>(at.X) - 10, static_cast<int>(at.Y) - 10, 21, 21);
        return imagetest::CountPixels(image, around, marker);
    };
    const std::vector<std::pair<float, float>> marked = {{10, 10}, {40, 10}, {80, 20}, {70, 30},
                                                         {20, 60}, {30, 60}, {50, 45}, {80, 55}};
    for (const auto& [x, y] : marked)
        EXPECT_GE(markersAt(shown, x, y), 30) << x << ", " << y;
    // The polyline's middle corner, the frame, the deleted line and the line on the hidden layer.
    for (const auto& [x, y] : std::vector<std::pair<float, float>>{
             {60, 70}, {55, 80}, {90, 95}, {10, 35}, {40, 35}, {10, 85}, {40, 85}})
        EXPECT_EQ(markersAt(shown, x, y), 0) << x << ", " << y;

    View().Repaint();
    for (const auto& [x, y] : marked)
        EXPECT_EQ(markersAt(View().WindowImage(), x, y), 0) << x << ", " << y;
}

// A double click on a vector text asks for its new string in an input box;
// OK sets it, Cancel leaves it, and a double click off any text asks nothing.
TEST_F(ViewTools, DoubleClickOnAVectorTextEditsItsString)
{
    using namespace vectfont_test;
    TCADStreamReader stream(FontFileBytes({Stroke('A', 0.8f), Stroke('B', 0.8f), Stroke('C', 0.8f)}));
    Font = std::make_unique<TVectFont>(stream, "CAD422");
    auto& text = Add(std::make_unique<TJustifiedVectText2D>(-1, Font.get(), MakeRect2D(20, 40, 80, 60), 10.0f, "AB"));
    const TPoint2D onText = View().WorldToScreen(MakePoint2D(20, 50));
    const QPoint pixel(static_cast<int>(onText.X), static_cast<int>(onText.Y));

    struct TAsked {
        QString Title, Prompt, Start;
    };
    std::vector<TAsked> asked;
    // Answers the input box once it is up, with the text or by cancelling; gives
    // up after a while, so that a box that never comes counts as not asked.
    const auto answer = [&](std::optional<QString> reply) {
        auto* poll = new QTimer(Frm.get());
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, poll, [&asked, reply, poll, tries = 0]() mutable {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                if (++tries == 50)
                    poll->deleteLater();
                return;
            }
            poll->deleteLater();
            asked.push_back({box->windowTitle(), box->labelText(), box->textValue()});
            if (reply) {
                box->setTextValue(*reply);
                box->accept();
            } else {
                box->reject();
            }
        });
        poll->start();
    };
    const auto doubleClick = [&](QPoint at) {
        QTest::mouseMove(Frm->VistaGrafica, at);
        QTest::mouseDClick(Frm->VistaGrafica, Qt::LeftButton, {}, at);
    };

    answer(QStringLiteral("CAB"));
    doubleClick(pixel);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Title, QStringLiteral("Edit Text"));
    EXPECT_EQ(asked[0].Prompt, QStringLiteral("String"));
    EXPECT_EQ(asked[0].Start, QStringLiteral("AB"));
    EXPECT_EQ(text.Text, "CAB");

    answer(std::nullopt);
    doubleClick(pixel);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].Start, QStringLiteral("CAB"));
    EXPECT_EQ(text.Text, "CAB");

    // Far from the text: no box comes up (a box would be cancelled and counted).
    answer(std::nullopt);
    const TPoint2D empty = View().WorldToScreen(MakePoint2D(50, 90));
    doubleClick(QPoint(static_cast<int>(empty.X), static_cast<int>(empty.Y)));
    QTest::qWait(600);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(text.Text, "CAB");
}
