#include "cad/ui/ScreenCursors.h"

#include <functional>

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "cad/view/ScreenCursor.h"

namespace {

constexpr int Size = 32;
constexpr int Centre = Size / 2;

// Black strokes on a white halo, visible on any background.
void DrawOutlined(QPainter& painter, const std::function<void(QPainter&)>& shape)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3));
    shape(painter);
    painter.setPen(QPen(Qt::black, 1));
    shape(painter);
}

void Crosshair(QPainter& painter)
{
    painter.drawLine(Centre, 2, Centre, Size - 3);
    painter.drawLine(2, Centre, Size - 3, Centre);
}

// The mark of each snap kind sits at the lower right of the crosshair.
void SnapMark(QPainter& painter, int slot)
{
    const QRect box(Centre + 4, Centre + 4, 9, 9);
    switch (slot) {
    case crEndPoint: painter.drawRect(box); break;
    case crMidPoint:
        painter.drawPolygon(QPolygon({box.bottomLeft(), QPoint(box.center().x(), box.top()), box.bottomRight()}));
        break;
    case crCentre: painter.drawEllipse(box); break;
    case crPoint:
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
        break;
    default: break;
    }
}

void PanArrows(QPainter& painter)
{
    Crosshair(painter);
    const int tip = 2;
    const int head = 6;
    painter.drawPolyline(QPolygon({{Centre - head, tip + head}, {Centre, tip}, {Centre + head, tip + head}}));
    painter.drawPolyline(QPolygon({{Centre - head, Size - 3 - head}, {Centre, Size - 3}, {Centre + head, Size - 3 - head}}));
    painter.drawPolyline(QPolygon({{tip + head, Centre - head}, {tip, Centre}, {tip + head, Centre + head}}));
    painter.drawPolyline(QPolygon({{Size - 3 - head, Centre - head}, {Size - 3, Centre}, {Size - 3 - head, Centre + head}}));
}

bool HasOverride = false;

void ShowSlot(int slot)
{
    if (slot == crDefault) {
        if (HasOverride)
            QGuiApplication::restoreOverrideCursor();
        HasOverride = false;
        return;
    }
    const QCursor cursor = MakeScreenCursor(slot);
    if (HasOverride)
        QGuiApplication::changeOverrideCursor(cursor);
    else
        QGuiApplication::setOverrideCursor(cursor);
    HasOverride = true;
}

} // namespace

QCursor MakeScreenCursor(int slot)
{
    if (slot < crPan || slot > crPoint)
        return QCursor(Qt::ArrowCursor);
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        DrawOutlined(painter, [slot](QPainter& p) {
            if (slot == crPan) {
                PanArrows(p);
                return;
            }
            Crosshair(p);
            SnapMark(p, slot);
        });
    }
    return QCursor(pixmap, Centre, Centre);
}

void InstallScreenCursors()
{
    SetScreenCursorSink(ShowSlot);
}
