#pragma once

// The recently-used command list: the last five drawing and editing commands
// started, most recent first, and where the bar that shows them may stand.

#include <array>
#include <cstdint>
#include <functional>

#include <QPoint>
#include <QSize>
#include <QString>

class QObject;

// A command's starter; it gets the control that started it.
using TMruHandler = std::function<void(QObject* sender)>;

struct MRURecord {
    std::int32_t Key = 0;  // the command's glyph index; 0 is an empty entry
    TMruHandler Handler;
    QString Hint;
};

class TMruList {
public:
    static constexpr int Count = 5;

    // Puts the command on top: an entry of the same key leaves its place, the
    // others move one place down and the fifth drops out. Key 0 would only
    // push an empty entry in front of the real ones, so it is ignored.
    void Add(std::int32_t key, const QString& hint, TMruHandler handler);

    // Entry 0 is the most recent.
    const MRURecord& Entry(int index) const { return Entries.at(static_cast<std::size_t>(index)); }

private:
    std::array<MRURecord, Count> Entries;
};

// The bar's top-left corner kept inside the client area: no less than 0 and
// no more than the client size less the bar size (0 when the bar is larger).
QPoint ClampBarPosition(QPoint topLeft, QSize bar, QSize client);
