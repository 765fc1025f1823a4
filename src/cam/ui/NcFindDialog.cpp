#include "cam/ui/NcFindDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TNcFindDialog::TNcFindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Find what:"), this));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("txtFindText"));
    layout->addWidget(text_);
    auto* next = new QPushButton(QStringLiteral("Find Next"), this);
    next->setObjectName(QStringLiteral("btnFindNext"));
    next->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    layout->addWidget(next);
    layout->addWidget(cancel);
    connect(next, &QPushButton::clicked, this, [this] {
        if (OnFind && !text_->text().isEmpty())
            OnFind();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
}

QString TNcFindDialog::FindText() const
{
    return text_->text();
}
