#pragma once

// A small find box: the text to look for and "Find Next". Searching is left
// to the owner, told through OnFind.

#include <functional>

#include <QDialog>

class QLineEdit;

class TNcFindDialog final : public QDialog {
public:
    explicit TNcFindDialog(QWidget* parent);

    QString FindText() const;
    std::function<void()> OnFind;

private:
    QLineEdit* text_;
};
