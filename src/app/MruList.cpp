#include "app/MruList.h"

#include <algorithm>
#include <utility>

void TMruList::Add(std::int32_t key, const QString& hint, TMruHandler handler)
{
    if (key == 0)
        return;
    // The last entry is not looked at: the push below drops it anyway.
    for (int i = 0; i < Count - 1; ++i) {
        if (Entries[static_cast<std::size_t>(i)].Key == key)
            std::copy(Entries.begin() + i + 1, Entries.end(), Entries.begin() + i);
    }
    std::copy_backward(Entries.begin(), Entries.end() - 1, Entries.end());
    Entries[0] = MRURecord{key, std::move(handler), hint};
}

QPoint ClampBarPosition(QPoint topLeft, QSize bar, QSize client)
{
    const int right = std::max(0, client.width() - bar.width());
    const int bottom = std::max(0, client.height() - bar.height());
    return QPoint(std::clamp(topLeft.x(), 0, right), std::clamp(topLeft.y(), 0, bottom));
}
