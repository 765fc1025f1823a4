#pragma once

// What every small dialog builds the same way: controls named as the
// language file knows them, and the OK and Cancel buttons at the bottom right.

#include <QBoxLayout>
#include <QPushButton>
#include <QString>

template <typename TControl>
TControl* Named(TControl* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// OK is the default button.
inline QHBoxLayout* OkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel)
{
    ok = Named(new QPushButton(QStringLiteral("&Ok"), dialog), "btnOk");
    ok->setDefault(true);
    cancel = Named(new QPushButton(QStringLiteral("&Cancel"), dialog), "btnCancel");
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
