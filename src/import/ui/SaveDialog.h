#pragma once

// The main window's save dialog: it keeps its file name, filter choice and
// options between uses, as the commands that save expect, and shows a Qt
// file dialog when run. Tests answer in the user's place through a hook.

#include <functional>
#include <memory>

#include <QObject>
#include <QString>

class QFileDialog;
class QWidget;

class TSaveDialog : public QObject {
    Q_OBJECT

public:
    explicit TSaveDialog(QObject* parent = nullptr);

    // Pairs of "description|pattern", the patterns separated by ';'.
    QString Filter;
    // 1 for the first pair of Filter.
    int FilterIndex = 1;
    QString FileName;
    // Without the dot: the extension of a name whose filter gives none.
    QString DefaultExt;
    bool OverwritePrompt = true;
    // Asks for an existing file to read instead of a name to write.
    bool ForOpening = false;

    // Shows the dialog; on OK FileName and FilterIndex hold the choice.
    bool Execute(QWidget* parent);

    // The file dialog Execute shows, set up from the fields (patterns match
    // names in either case).
    std::unique_ptr<QFileDialog> CreateFileDialog(QWidget* parent) const;
};

// The main window's open dialog: the same, asking for an existing file.
class TOpenDialog : public TSaveDialog {
    Q_OBJECT

public:
    explicit TOpenDialog(QObject* parent = nullptr);
};

// The file name with "." and the extension added when its last part has none.
QString WithExtension(const QString& fileName, const QString& extension);

// Answers every save and open dialog in place of the user; an empty hook brings back
// the real dialog. Gives back the hook it replaces.
using TSaveDialogHook = std::function<bool(TSaveDialog& dialog)>;
TSaveDialogHook SetSaveDialogHook(TSaveDialogHook hook);
