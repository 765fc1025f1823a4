#include <cmath>
#include <memory>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/ui/controls/XPMenu.h"
#include "app/ui/glyphs/Glyphs.h"

namespace {

// A menu that lets the test ask for the options Qt draws an item with.
class TTestMenu : public QMenu {
public:
    using QMenu::QMenu;
    using QMenu::initStyleOption;
};

TColor ToTColor(QRgb rgb)
{
    return static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

struct TItemPicture {
    QImage Image;
    QSize Size;
};

// One item as the menu's style draws it, on its own at its measured size.
TItemPicture DrawItem(TTestMenu& menu, QAction* action, bool selected, Qt::LayoutDirection direction = Qt::LeftToRight)
{
    QStyleOptionMenuItem option;
    menu.initStyleOption(&option, action);
    option.direction = direction;
    const QSize size = menu.style()->sizeFromContents(QStyle::CT_MenuItem, &option, QSize(60, 10), &menu);
    option.rect = QRect(QPoint(0, 0), QSize(std::max(size.width(), 160), size.height()));
    if (selected)
        option.state |= QStyle::State_Selected;
    else
        option.state &= ~QStyle::State_Selected;
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    menu.style()->drawControl(QStyle::CE_MenuItem, &option, &painter, &menu);
    return {image, size};
}

} // namespace

TEST(XPMenu, ActiveDrawsEveryMenuOfTheFormAndGivesBackTheLooksTheyHad)
{
    QWidget form;
    auto* popup = new QMenu(&form);
    QMenu* submenu = popup->addMenu(QStringLiteral("Snap to..."));
    auto* ownLook = new QMenu(&form);
    const std::unique_ptr<QStyle> own(QStyleFactory::create(QStringLiteral("Fusion")));
    ownLook->setStyle(own.get());

    auto* xp = new TXPMenu(&form);
    xp->SetActive(true);
    EXPECT_EQ(xp->HookedMenus().size(), 2u);
    EXPECT_NE(popup->style(), form.style());
    EXPECT_EQ(submenu->style(), popup->style());
    EXPECT_EQ(ownLook->style(), own.get()) << "a menu with its own look keeps it";

    // Items added while the program runs are drawn the same way.
    QMenu* later = popup->addMenu(QStringLiteral("Later"));
    popup->show();
    EXPECT_EQ(later->style(), popup->style());
    popup->hide();

    xp->SetOverrideOwnerDraw(true);
    EXPECT_EQ(ownLook->style(), popup->style()) << "taken over when told to";
    EXPECT_EQ(xp->HookedMenus().size(), 4u);

    xp->SetActive(false);
    EXPECT_EQ(ownLook->style(), own.get());
    for (QMenu* menu : {popup, submenu, later}) {
        EXPECT_FALSE(menu->testAttribute(Qt::WA_SetStyle));
        EXPECT_EQ(menu->style(), form.style());
    }
    EXPECT_TRUE(xp->HookedMenus().empty());
}

TEST(XPMenu, ItemsShowGradientSelectionSeparatorAndGreyedPictures)
{
    QWidget form;
    auto* menu = new TTestMenu(&form);
    QAction* plain = menu->addAction(QStringLiteral("Endpoint"));
    plain->setIcon(SnapGlyphIcon(9));
    QAction* separator = menu->addSeparator();
    QAction* disabled = menu->addAction(QStringLiteral("Midpoint"));
    disabled->setIcon(SnapGlyphIcon(11));
    disabled->setEnabled(false);

    auto* xp = new TXPMenu(&form);
    xp->ImageSize = kGlyphSize;
    xp->Colors.UseSystemColors = false;
    xp->Colors.IconBackColor = 0x0000FF;  // red, so that the gradient shows
    xp->Colors.SelectColor = 0x00FF00;
    xp->Colors.SelectBorderColor = 0x800000;
    xp->Colors.SeparatorColor = 0x008000;
    xp->Gradient = true;
    xp->FlatMenu = true;
    xp->SetActive(true);
    ASSERT_TRUE(TXPMenu::HighColor());

    // The gradient: the icon colour at the left edge, nearly white at the right.
    const TItemPicture item = DrawItem(*menu, plain, false);
    EXPECT_EQ(item.Size.height(), 24) << "the 20-pixel picture and 4";
    const int mid = item.Image.height() / 2;
    EXPECT_EQ(ToTColor(item.Image.pixel(0, mid)), 0x0000FF);
    EXPECT_EQ(ToTColor(item.Image.pixel(1, mid)), Lighten(0x0000FF, 3));
    EXPECT_EQ(ToTColor(item.Image.pixel(item.Image.width() - 1, mid)), Lighten(0x0000FF, 96));
    const TItemPicture mirrored = DrawItem(*menu, plain, false, Qt::RightToLeft);
    EXPECT_EQ(ToTColor(mirrored.Image.pixel(item.Image.width() - 1, mid)), 0x0000FF) << "right to left";
    EXPECT_EQ(ToTColor(mirrored.Image.pixel(0, mid)), Lighten(0x0000FF, 96));
    EXPECT_NE(mirrored.Image.pixel(item.Image.width() - 12, mid), item.Image.pixel(item.Image.width() - 12, mid))
        << "the picture moves to the right";
    // Selected: filled and framed one pixel inside at the top, and at the right of a flat menu.
    const TItemPicture selected = DrawItem(*menu, plain, true);
    const int right = selected.Image.width() - 1;
    EXPECT_EQ(ToTColor(selected.Image.pixel(right - 5, mid)), 0x00FF00);
    EXPECT_EQ(ToTColor(selected.Image.pixel(right - 5, 1)), 0x800000);
    EXPECT_EQ(ToTColor(selected.Image.pixel(right - 1, mid)), 0x800000);
    EXPECT_NE(ToTColor(selected.Image.pixel(right, mid)), 0x800000);

    // The separator: 4 pixels high, one line from the icon column + 7.
    const TItemPicture line = DrawItem(*menu, separator, false);
    EXPECT_EQ(line.Size.height(), 4);
    EXPECT_EQ(ToTColor(line.Image.pixel(xp->IconWidth + 7, 2)), 0x008000);
    EXPECT_NE(ToTColor(line.Image.pixel(xp->IconWidth + 6, 2)), 0x008000);

    // On a white icon column: an enabled picture is drawn faded (its ink
    // lightened by 30), a disabled one grey (90 + the mean of the channels).
    xp->Colors.IconBackColor = 0xFFFFFF;
    const QImage glyph = SnapGlyphPixmap(9).toImage().convertToFormat(QImage::Format_ARGB32);
    int ink = 255;
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (qAlpha(glyph.pixel(x, y)) == 255)
                ink = std::min(ink, qRed(glyph.pixel(x, y)));
    const auto darkestInIcon = [](const QImage& image, bool& allGrey) {
        int darkest = 255;
        allGrey = true;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < 24; ++x) {
                const QRgb pixel = image.pixel(x, y);
                darkest = std::min(darkest, qRed(pixel));
                allGrey = allGrey && qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel);
            }
        return darkest;
    };
    bool allGrey = false;
    const int faded = darkestInIcon(DrawItem(*menu, plain, false).Image, allGrey);
    EXPECT_NEAR(faded, ink + std::lround((255 - ink) * 0.3), 1);
    const int greyed = darkestInIcon(DrawItem(*menu, disabled, false).Image, allGrey);
    EXPECT_TRUE(allGrey);
    EXPECT_GE(greyed, 90);
    EXPECT_LT(greyed, 160);
    // Selected, the picture is lifted above a shadow in the darkened selection colour.
    const QImage lifted = DrawItem(*menu, plain, true).Image;
    int shadow = 0;
    for (int y = 0; y < lifted.height(); ++y)
        for (int x = 0; x < 24; ++x)
            shadow += ToTColor(lifted.pixel(x, y)) == Darken(0x00FF00, 50) ? 1 : 0;
    EXPECT_GT(shadow, 5);
}
