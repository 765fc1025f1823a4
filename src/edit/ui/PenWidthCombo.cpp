#include "edit/ui/PenWidthCombo.h"

#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

constexpr int kItemHeight = 20;

class TPenWidthDelegate : public QStyledItemDelegate {
public:
    explicit TPenWidthDelegate(Tpenwidthcombo* combo) : QStyledItemDelegate(combo), Combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        Combo->DrawItem(*painter, option.rect, index.row(), (option.state & QStyle::State_Selected) != 0);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width() + 50, kItemHeight};
    }

private:
    Tpenwidthcombo* Combo;
};

} // namespace

Tpenwidthcombo::Tpenwidthcombo(QWidget* parent) : QComboBox(parent)
{
    for (int i = 1; i <= kWidthCount; ++i)
        addItem(QString::number(i));
    setItemDelegate(new TPenWidthDelegate(this));
    setMinimumHeight(kItemHeight + 4);
}

void Tpenwidthcombo::SetPenWidth(int width)
{
    setCurrentIndex(width >= 1 && width <= kWidthCount ? width - 1 : -1);
}

int Tpenwidthcombo::PenWidth() const
{
    return currentIndex() + 1;
}

void Tpenwidthcombo::DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const
{
    painter.save();
    const QPalette& colours = palette();
    painter.fillRect(rect, colours.color(selected ? QPalette::Highlight : QPalette::Base));
    const QRect inner(rect.left() + 3, rect.top() + 3, 45, rect.height() - 6);
    const int middle = inner.top() + inner.height() / 2;
    painter.setPen(QPen(Qt::black, index + 1, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(inner.left() + 5, middle, inner.right() - 5, middle);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(inner);
    painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect text(rect.left() + 50, rect.top(), rect.width() - 50, rect.height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, itemText(index));
    painter.restore();
}

void Tpenwidthcombo::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0)
        return;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DrawItem(painter, field, currentIndex(), false);
}
