#pragma once

// The flat look of a window's menus: an icon column, a gradient or plain
// background, a framed selection, framed check marks and pictures that are
// faded, greyed or lifted by the item's state. One instance serves all the
// menus of its window: while it is active every menu the window owns, at
// any depth, draws and measures its items through it.

#include <memory>
#include <vector>

#include <QFont>
#include <QObject>
#include <QPointer>

#include "app/MenuLook.h"

class QMenu;
class QPalette;
class QStyle;
class QWidget;
class TXPMenuStyle;

// The system colours as the platform's palette gives them.
TSystemColors SystemColorsFromPalette(const QPalette& palette);

class TXPMenu : public QObject {
    Q_OBJECT
public:
    // The form owns the component, and its menus are the ones made flat.
    explicit TXPMenu(QWidget* form);
    ~TXPMenu() override;

    // Item text; "MS Sans Serif" is taken as "Tahoma".
    QFont Font() const { return FontValue; }
    void SetFont(const QFont& font);

    // The colour properties; plain or system colours.
    TMenuColorProperties Colors;
    // Width of the icon column in pixels.
    int IconWidth = 24;
    // Size of the pictures of the items (the menus' image list).
    int ImageSize = 16;
    bool DrawSelect = true;
    bool Gradient = false;
    bool FlatMenu = false;

    bool UseSystemColors() const { return Colors.UseSystemColors; }
    void SetUseSystemColors(bool use);
    // Take over menus that already draw themselves their own way.
    bool OverrideOwnerDraw() const { return OverrideOwnerDrawValue; }
    void SetOverrideOwnerDraw(bool take);
    // Hook menus the form gains later too.
    bool AutoDetect() const { return AutoDetectValue; }
    void SetAutoDetect(bool detect) { AutoDetectValue = detect; }

    // On: every menu of the form, at every depth, is drawn flat, unless it
    // has a look of its own and OverrideOwnerDraw is off. Off: exactly the
    // looks the menus had are given back.
    bool Active() const { return ActiveValue; }
    void SetActive(bool active);

    // The plain colours an item is drawn with now.
    TMenuWorkingColors WorkingColors() const;
    // A display of more than 15 bits per pixel.
    static bool HighColor();
    // The menus drawn flat now.
    std::vector<QMenu*> HookedMenus() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct THookedMenu {
        QPointer<QMenu> Menu;
        QStyle* Previous;
    };

    void HookAll();
    void Hook(QMenu* menu);
    // The submenus of a menu's items, which may have been added since.
    void HookSubmenus(QMenu* menu);
    void UnhookAll();
    void RepaintMenus();
    bool IsHooked(const QMenu* menu) const;

    QWidget* Form;
    QFont FontValue;
    bool OverrideOwnerDrawValue = false;
    bool AutoDetectValue = false;
    bool ActiveValue = false;
    std::unique_ptr<TXPMenuStyle> Style;
    std::vector<THookedMenu> Hooked;
};
