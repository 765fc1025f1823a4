#pragma once

// What a person would see wrong in a laid-out window: two visible controls
// on top of each other, a control reaching out of the window, a caption its
// control cuts or one decoded in the wrong encoding.

#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QWidget>

namespace layout_faults {

// Controls are the widgets a person reads or uses; their insides (a combo's
// field, a list's scroll bars) are theirs. Group boxes are controls and hold
// controls.
inline bool IsLeafControl(const QWidget& widget)
{
    return qobject_cast<const QAbstractButton*>(&widget) || qobject_cast<const QLabel*>(&widget) ||
           qobject_cast<const QLineEdit*>(&widget) || qobject_cast<const QComboBox*>(&widget) ||
           qobject_cast<const QAbstractSpinBox*>(&widget) || qobject_cast<const QAbstractScrollArea*>(&widget) ||
           qobject_cast<const QAbstractSlider*>(&widget) || qobject_cast<const QProgressBar*>(&widget);
}

inline void CollectControls(const QWidget& parent, std::vector<const QWidget*>& controls)
{
    for (const QWidget* child : parent.findChildren<const QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden() || child->isWindow())
            continue;
        if (IsLeafControl(*child)) {
            controls.push_back(child);
            continue;
        }
        if (qobject_cast<const QGroupBox*>(child))
            controls.push_back(child);
        CollectControls(*child, controls);
    }
}

inline std::string Name(const QWidget& widget)
{
    const QString name = widget.objectName().isEmpty() ? QString::fromLatin1(widget.metaObject()->className())
                                                       : widget.objectName();
    const QString text = qobject_cast<const QAbstractButton*>(&widget)
                             ? qobject_cast<const QAbstractButton*>(&widget)->text()
                             : qobject_cast<const QLabel*>(&widget) ? qobject_cast<const QLabel*>(&widget)->text()
                                                                      : QString();
    return (text.isEmpty() ? name : name + QStringLiteral(" \"") + text + QLatin1Char('"')).toStdString();
}

inline std::string Sizes(QSize needs, QSize has)
{
    return " (needs " + std::to_string(needs.width()) + "x" + std::to_string(needs.height()) + ", has " +
           std::to_string(has.width()) + "x" + std::to_string(has.height()) + ")";
}

// What is wrong with the caption, empty when it fits: the size the control
// needs for it against the size it has.
inline std::string CaptionCut(const QWidget& control)
{
    const QSize has = control.size();
    const auto cut = [has](QSize needs) {
        return needs.width() > has.width() || needs.height() > has.height() ? " cuts its caption" + Sizes(needs, has)
                                                                             : std::string();
    };
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty() || label->pixmap().cacheKey() != 0)
            return {};
        if (label->wordWrap())
            return cut(QSize(has.width(), label->heightForWidth(has.width())));
        return cut(label->sizeHint());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        if (button->text().isEmpty())
            return {};
        return cut(button->sizeHint());
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&control)) {
        if (group->title().isEmpty())
            return {};
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        const QRect title =
            group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        const int needs = group->fontMetrics().horizontalAdvance(group->title());
        return needs > title.width() || title.right() >= has.width() ? " cuts its title" : std::string();
    }
    return {};
}

// A caption of UTF-8 bytes read one by one as Latin-1 holds the C1 control
// characters, which no translation has.
inline bool MisDecoded(const QWidget& control)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        text = button->text();
    else if (const auto* group = qobject_cast<const QGroupBox*>(&control))
        text = group->title();
    for (const QChar c : text)
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
            return true;
    return false;
}

inline bool Contains(const QWidget& ancestor, const QWidget& widget)
{
    for (const QWidget* w = widget.parentWidget(); w != nullptr; w = w->parentWidget())
        if (w == &ancestor)
            return true;
    return false;
}

} // namespace layout_faults

// Every fault of the window as laid out, one line each; none when it reads well.
inline std::vector<std::string> LayoutFaults(const QWidget& window)
{
    using namespace layout_faults;
    std::vector<const QWidget*> controls;
    CollectControls(window, controls);
    std::vector<std::string> faults;
    const QRect area = window.rect();
    if (window.layout() != nullptr) {
        const QSize needs = window.layout()->totalMinimumSize();
        if (needs.width() > area.width() || needs.height() > area.height())
            faults.push_back(Name(window) + " is too small for its controls" + Sizes(needs, area.size()));
    }
    std::vector<QRect> places;
    for (const QWidget* control : controls) {
        const QRect place(control->mapTo(&window, QPoint(0, 0)), control->size());
        places.push_back(place);
        if (!area.contains(place))
            faults.push_back(Name(*control) + " reaches out of the window" + Sizes(place.size(), area.size()));
        if (const std::string cut = CaptionCut(*control); !cut.empty())
            faults.push_back(Name(*control) + cut);
        if (MisDecoded(*control))
            faults.push_back(Name(*control) + " shows text decoded in the wrong encoding");
    }
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            if (Contains(*controls[i], *controls[j]) || Contains(*controls[j], *controls[i]))
                continue;
            if (places[i].intersects(places[j]))
                faults.push_back(Name(*controls[i]) + " overlaps " + Name(*controls[j]));
        }
    return faults;
}
