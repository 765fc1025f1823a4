#include "app/ui/controls/XPMenu.h"

#include <algorithm>
#include <array>

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleOptionMenuItem>

namespace {

QColor ToQt(TColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor ToTColor(const QColor& color)
{
    return static_cast<TColor>(color.red() | (color.green() << 8) | (color.blue() << 16));
}

TColor ToTColor(QRgb rgb)
{
    return static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

QRgb WithAlpha(TColor color, int alpha)
{
    return qRgba(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, alpha);
}

// Each pixel's grey level is 90 plus the mean of its channels, at most 240.
QImage GreyedImage(QImage image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int level = std::min(240, 90 + (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3);
            image.setPixel(x, y, qRgba(level, level, level, qAlpha(pixel)));
        }
    return image;
}

QImage FadedImage(QImage image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            image.setPixel(x, y, WithAlpha(Lighten(ToTColor(pixel), 30), qAlpha(pixel)));
        }
    return image;
}

// The picture's pixels that differ from its background (its bottom-left
// pixel), in one colour.
QImage ShadowImage(const QImage& image, TColor color)
{
    QImage shadow(image.size(), QImage::Format_ARGB32);
    shadow.fill(0);
    const QRgb background = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                shadow.setPixel(x, y, WithAlpha(color, 255));
    return shadow;
}

void DrawTick(QPainter& painter, const QRect& box)
{
    painter.setPen(QPen(QColor(Qt::black), 1));
    const QPoint c = box.center();
    const QPoint tick[] = {c + QPoint(-3, 0), c + QPoint(-1, 2), c + QPoint(3, -2)};
    painter.drawPolyline(tick, 3);
    painter.drawPolyline(std::array<QPoint, 3>{tick[0] + QPoint(0, 1), tick[1] + QPoint(0, 1), tick[2] + QPoint(0, 1)}.data(), 3);
}

} // namespace

TSystemColors SystemColorsFromPalette(const QPalette& palette)
{
    TSystemColors colors;
    colors.BtnFace = ToTColor(palette.color(QPalette::Button));
    colors.Highlight = ToTColor(palette.color(QPalette::Highlight));
    colors.BtnShadow = ToTColor(palette.color(QPalette::Dark));
    colors.MenuText = ToTColor(palette.color(QPalette::ButtonText));
    colors.InactiveCaption = ToTColor(palette.color(QPalette::Disabled, QPalette::WindowText));
    colors.Window = ToTColor(palette.color(QPalette::Base));
    return colors;
}

// Draws and measures the items of the hooked menus for their component.
class TXPMenuStyle : public QProxyStyle {
public:
    explicit TXPMenuStyle(const TXPMenu& owner)
        : Owner(owner)
    {
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            if (element == CE_MenuItem) {
                DrawItem(*item, *painter);
                return;
            }
            if (element == CE_MenuBarItem) {
                DrawBarItem(*item, *painter);
                return;
            }
            if (element == CE_MenuEmptyArea || element == CE_MenuHMargin || element == CE_MenuVMargin) {
                painter->fillRect(option->rect, ToQt(Owner.WorkingColors().Item));
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_PanelMenu) {
            painter->fillRect(option->rect, ToQt(Owner.WorkingColors().Item));
            if (Owner.FlatMenu)
                DrawFlatFrame(option->rect, *painter);
            return;
        }
        if (element == PE_FrameMenu && Owner.FlatMenu) {
            DrawFlatFrame(option->rect, *painter);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_MenuPanelWidth: return Owner.FlatMenu ? 2 : QProxyStyle::pixelMetric(metric, option, widget);
        case PM_MenuHMargin:
        case PM_MenuVMargin: return 0;
        case PM_SmallIconSize: return Owner.ImageSize;
        default: return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        const QSize proposed = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (item == nullptr || (type != CT_MenuItem && type != CT_MenuBarItem))
            return proposed;
        const QFontMetrics metrics(Owner.Font());
        TMenuItemMetrics measured;
        measured.Separator = item->menuItemType == QStyleOptionMenuItem::Separator;
        const QString caption = item->text.section(QLatin1Char('\t'), 0, 0);
        const QString shortcut = item->text.section(QLatin1Char('\t'), 1);
        measured.CaptionWidth = metrics.horizontalAdvance(caption);
        measured.AmpersandWidth = caption.contains(QLatin1Char('&')) ? metrics.horizontalAdvance(QLatin1Char('&')) : 0;
        measured.ShortcutWidth = shortcut.isEmpty() ? 0 : metrics.horizontalAdvance(shortcut + QStringLiteral("WWW"));
        measured.TextHeight = metrics.height();
        if (!item->icon.isNull()) {
            measured.ImageWidth = Owner.ImageSize;
            measured.ImageHeight = Owner.ImageSize;
        }
        measured.OnMenuBar = type == CT_MenuBarItem;
        // Room for the blank and the gap before the text, which the
        // measure does not count, and for a submenu's arrow.
        const int extra = 15 + metrics.horizontalAdvance(QLatin1Char(' '))
            + (item->menuItemType == QStyleOptionMenuItem::SubMenu ? 12 : 0);
        const TMenuItemSize grown = MeasureMenuItem(measured, Owner.IconWidth, {proposed.width() - extra, proposed.height()});
        return {measured.Separator ? grown.Width : grown.Width + extra, grown.Height};
    }

private:
    void DrawFlatFrame(const QRect& rect, QPainter& painter) const
    {
        const TMenuWorkingColors colors = Owner.WorkingColors();
        painter.save();
        painter.setPen(ToQt(colors.Border));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        const QRect inner = rect.adjusted(1, 1, -2, -2);
        painter.setPen(ToQt(colors.Item));
        painter.drawRect(inner);
        painter.setPen(ToQt(colors.IconColumn));
        painter.drawLine(inner.topLeft(), inner.bottomLeft());
        painter.drawLine(inner.topLeft(), inner.topLeft() + QPoint(Owner.IconWidth, 0));
        painter.drawLine(inner.bottomLeft(), inner.bottomLeft() + QPoint(Owner.IconWidth, 0));
        painter.restore();
    }

    // A part of the item as drawn: right-to-left menus mirror every horizontal position.
    static QRect Placed(const QStyleOptionMenuItem& item, const QRect& part)
    {
        if (item.direction != Qt::RightToLeft)
            return part;
        const QRect& r = item.rect;
        return {r.left() + r.right() - part.right(), part.top(), part.width(), part.height()};
    }

    void DrawItem(const QStyleOptionMenuItem& item, QPainter& painter) const
    {
        const TMenuWorkingColors colors = Owner.WorkingColors();
        const QRect r = item.rect;
        const bool selected = (item.state & State_Selected) != 0;
        const bool enabled = (item.state & State_Enabled) != 0;
        const int iconWidth = Owner.IconWidth;
        painter.save();
        DrawBackground(item, painter, colors);

        if (item.menuItemType == QStyleOptionMenuItem::Separator) {
            // 4. One line across, beside the icon column.
            const QRect line(r.left() + iconWidth + 7, r.top() + r.height() / 2, r.width() - iconWidth - 7, 1);
            painter.fillRect(Placed(item, line), ToQt(colors.Separator));
            painter.restore();
            return;
        }

        // 2. The selection, framed one pixel inside at the top and bottom (and the far side of a flat menu).
        if (selected && Owner.DrawSelect && enabled) {
            const QRect frame = Placed(item, r.adjusted(0, 1, Owner.FlatMenu ? -1 : 0, -1));
            painter.fillRect(frame, ToQt(colors.Selection));
            painter.setPen(ToQt(colors.SelectionBorder));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(frame.adjusted(0, 0, -1, -1));
        }

        // 3. The check mark, then the picture, centred in the icon column.
        const int size = Owner.ImageSize;
        const QRect imageRect = Placed(item, QRect(r.left() + (iconWidth - size) / 2, r.top() + (r.height() - size) / 2, size, size));
        const bool hasIcon = !item.icon.isNull();
        const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
        if (checked)
            DrawCheck(item, painter, colors, imageRect, hasIcon, selected);
        if (hasIcon)
            DrawIcon(item, painter, colors, imageRect, enabled, checked, selected, TXPMenu::HighColor());

        DrawTexts(item, painter, !enabled ? colors.Disabled : selected ? colors.SelectFont : colors.Font);
        painter.restore();
    }

    // 1. A gradient column by column from the icon colour, or the item and icon column colours.
    void DrawBackground(const QStyleOptionMenuItem& item, QPainter& painter, const TMenuWorkingColors& colors) const
    {
        const QRect& r = item.rect;
        const bool selected = (item.state & State_Selected) != 0;
        const bool enabled = (item.state & State_Enabled) != 0;
        if (TXPMenu::HighColor() && Owner.Gradient) {
            for (int x = 0; x < r.width(); ++x)
                painter.fillRect(Placed(item, QRect(r.left() + x, r.top(), 1, r.height())),
                                 ToQt(Lighten(colors.IconColumn, MenuGradientPercent(x, Owner.IconWidth))));
        } else if (enabled || !selected) {
            painter.fillRect(r, ToQt(colors.Item));
            painter.fillRect(Placed(item, QRect(r.left(), r.top(), Owner.IconWidth, r.height())), ToQt(colors.IconColumn));
        }
    }

    // 5. The caption after a blank beside the icon column, the shortcut at the far side, a submenu's arrow.
    void DrawTexts(const QStyleOptionMenuItem& item, QPainter& painter, TColor textColor) const
    {
        const QRect& r = item.rect;
        const bool rtl = item.direction == Qt::RightToLeft;
        const int iconWidth = Owner.IconWidth;
        const QFont font = Owner.Font();
        painter.setFont(font);
        const QFontMetrics metrics(font);
        const QString caption = QLatin1Char(' ') + item.text.section(QLatin1Char('\t'), 0, 0);
        const QString shortcut = item.text.section(QLatin1Char('\t'), 1);
        const int textTop = r.top() + (r.height() - metrics.height()) / 2;
        const QRect textRect = Placed(item, QRect(r.left() + iconWidth + 15, textTop, r.width() - iconWidth - 15, metrics.height()));
        const int flags = (rtl ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter | Qt::TextShowMnemonic;
        if (item.menuItemType == QStyleOptionMenuItem::DefaultItem) {
            // Embossed: light and dark copies around the caption, then the caption.
            const std::pair<QPoint, TColor> passes[] = {{{1, 1}, 0xFFFFFF}, {{-1, -1}, Lighten(textColor, 40)},
                                                        {{1, 0}, Lighten(textColor, 60)}, {{0, 0}, textColor}};
            for (const auto& [offset, color] : passes) {
                painter.setPen(ToQt(color));
                painter.drawText(textRect.translated(offset), flags, caption);
            }
        } else {
            painter.setPen(ToQt(textColor));
            painter.drawText(textRect, flags, caption);
        }
        if (!shortcut.isEmpty()) {
            painter.setPen(ToQt(TXPMenu::HighColor() ? Lighten(textColor, 40) : textColor));
            painter.drawText(Placed(item, QRect(r.left(), textTop, r.width() - 10, metrics.height())),
                             (rtl ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, shortcut);
        }
        if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
            const int x = rtl ? r.left() + 8 : r.right() - 8;
            const int tip = rtl ? -2 : 2;
            const int y = r.top() + r.height() / 2;
            QPainterPath arrow;
            arrow.moveTo(x - tip, y - 4);
            arrow.lineTo(x + tip, y);
            arrow.lineTo(x - tip, y + 4);
            arrow.closeSubpath();
            painter.fillPath(arrow, ToQt(textColor));
        }
    }

    void DrawCheck(const QStyleOptionMenuItem& item, QPainter& painter, const TMenuWorkingColors& colors,
                   const QRect& imageRect, bool hasIcon, bool selected) const
    {
        const QColor fill = ToQt(selected ? colors.CheckedAreaSelected : colors.CheckedArea);
        const QRect around = imageRect.adjusted(-2, -2, 1, 1);
        painter.setBrush(fill);
        if (item.checkType == QStyleOptionMenuItem::Exclusive) {
            painter.setPen(ToQt(colors.SelectionBorder));
            if (hasIcon) {
                painter.drawRoundedRect(around, 6, 6);
            } else {
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setBrush(ToQt(colors.Checked));
                painter.drawEllipse(imageRect.center(), 3, 3);
                painter.setRenderHint(QPainter::Antialiasing, false);
            }
        } else if (hasIcon) {
            painter.setPen(ToQt(colors.SelectionBorder));
            painter.drawRect(around);
        } else {
            painter.setPen(ToQt(colors.Checked));
            const QRect box(imageRect.center() - QPoint(6, 6), QSize(12, 12));
            painter.drawRect(box);
            DrawTick(painter, box);
        }
        painter.setBrush(Qt::NoBrush);
    }

    void DrawIcon(const QStyleOptionMenuItem& item, QPainter& painter, const TMenuWorkingColors& colors,
                  const QRect& imageRect, bool enabled, bool checked, bool selected, bool highColor) const
    {
        const QImage image = item.icon.pixmap(imageRect.size()).toImage().convertToFormat(QImage::Format_ARGB32);
        if (!enabled) {
            painter.drawImage(imageRect.topLeft(), GreyedImage(image));
        } else if (selected) {
            painter.drawImage(imageRect.topLeft() + QPoint(1, 1), ShadowImage(image, Darken(colors.Selection, 50)));
            painter.drawImage(imageRect.topLeft() - QPoint(1, 1), image);
        } else if (!checked && highColor) {
            painter.drawImage(imageRect.topLeft(), FadedImage(image));
        } else {
            painter.drawImage(imageRect.topLeft(), image);
        }
    }

    void DrawBarItem(const QStyleOptionMenuItem& item, QPainter& painter) const
    {
        const TMenuWorkingColors colors = Owner.WorkingColors();
        const QRect r = item.rect;
        painter.save();
        painter.fillRect(r, ToQt(colors.MenuBar));
        const bool selected = (item.state & (State_Selected | State_Sunken)) != 0;
        if (selected && Owner.DrawSelect) {
            // A raised tab with a shadow at its right.
            const QRect tab = r.adjusted(0, 0, -3, 0);
            painter.fillRect(tab, ToQt(colors.IconColumn));
            painter.setPen(ToQt(colors.Border));
            painter.drawRect(tab.adjusted(0, 0, -1, 0));
            const int steps = TXPMenu::HighColor() ? 3 : 1;
            for (int i = 0; i < steps; ++i)
                painter.fillRect(tab.right() + 1 + i, r.top() + 2 + i, 1, r.height() - 2 - i,
                                 ToQt(Lighten(colors.Shadow, 30 * i)));
        }
        painter.setFont(Owner.Font());
        painter.setPen(ToQt((item.state & State_Enabled) != 0 ? colors.Font : colors.Disabled));
        painter.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, item.text);
        painter.restore();
    }

    const TXPMenu& Owner;
};

TXPMenu::TXPMenu(QWidget* form)
    : QObject(form)
    , Form(form)
    , Style(std::make_unique<TXPMenuStyle>(*this))
{
    SetFont(QApplication::font("QMenu"));
    form->installEventFilter(this);
}

TXPMenu::~TXPMenu()
{
    UnhookAll();
}

void TXPMenu::SetFont(const QFont& font)
{
    FontValue = font;
    if (FontValue.family() == QStringLiteral("MS Sans Serif"))
        FontValue.setFamily(QStringLiteral("Tahoma"));
}

void TXPMenu::SetUseSystemColors(bool use)
{
    Colors.UseSystemColors = use;
    if (use)
        SetFont(QApplication::font("QMenu"));
    RepaintMenus();
}

void TXPMenu::SetOverrideOwnerDraw(bool take)
{
    OverrideOwnerDrawValue = take;
    if (ActiveValue) {
        UnhookAll();
        HookAll();
    }
}

void TXPMenu::SetActive(bool active)
{
    if (active == ActiveValue)
        return;
    ActiveValue = active;
    if (active)
        HookAll();
    else
        UnhookAll();
}

TMenuWorkingColors TXPMenu::WorkingColors() const
{
    return MenuWorkingColors(Colors, SystemColorsFromPalette(QApplication::palette()), HighColor());
}

bool TXPMenu::HighColor()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr || screen->depth() > 15;
}

std::vector<QMenu*> TXPMenu::HookedMenus() const
{
    std::vector<QMenu*> menus;
    for (const THookedMenu& hooked : Hooked)
        if (hooked.Menu)
            menus.push_back(hooked.Menu);
    return menus;
}

bool TXPMenu::IsHooked(const QMenu* menu) const
{
    return std::any_of(Hooked.begin(), Hooked.end(), [menu](const THookedMenu& h) { return h.Menu == menu; });
}

void TXPMenu::HookAll()
{
    for (QMenu* menu : Form->findChildren<QMenu*>())
        Hook(menu);
}

void TXPMenu::Hook(QMenu* menu)
{
    if (IsHooked(menu))
        return;
    // A menu with a look of its own keeps it unless told otherwise.
    const bool ownLook = menu->testAttribute(Qt::WA_SetStyle);
    if (ownLook && !OverrideOwnerDrawValue)
        return;
    Hooked.push_back({menu, ownLook ? menu->style() : nullptr});
    menu->setStyle(Style.get());
    menu->installEventFilter(this);
    HookSubmenus(menu);
}

void TXPMenu::HookSubmenus(QMenu* menu)
{
    for (QAction* action : menu->actions())
        if (QMenu* submenu = action->menu())
            Hook(submenu);
}

void TXPMenu::UnhookAll()
{
    for (const THookedMenu& hooked : Hooked) {
        if (!hooked.Menu)
            continue;
        hooked.Menu->removeEventFilter(this);
        hooked.Menu->setStyle(hooked.Previous);
        if (hooked.Previous == nullptr)
            hooked.Menu->setAttribute(Qt::WA_SetStyle, false);
    }
    Hooked.clear();
}

void TXPMenu::RepaintMenus()
{
    for (QMenu* menu : HookedMenus())
        menu->update();
}

bool TXPMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (!ActiveValue)
        return false;
    // Items added while the program runs are drawn the same way.
    if (event->type() == QEvent::Show)
        if (auto* menu = qobject_cast<QMenu*>(watched))
            HookSubmenus(menu);
    if (watched == Form && AutoDetectValue && event->type() == QEvent::ChildPolished)
        if (auto* menu = qobject_cast<QMenu*>(static_cast<QChildEvent*>(event)->child()))
            Hook(menu);
    return false;
}
