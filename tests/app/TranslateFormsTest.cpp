#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/Language.h"
#include "app/TranslateForms.h"
#include "platform/IniFile.h"

namespace {

template <typename T>
T* Add(QObject* owner, const char* name)
{
    auto* control = new T(qobject_cast<QWidget*>(owner));
    control->setObjectName(QString::fromUtf8(name));
    return control;
}

// A small window as a form description would build it, with designed texts.
struct TestWindow {
    QWidget window;
    QComboBox* units;
    QPushButton* ok;
    QLabel* name;
    QLineEdit* value;
    QGroupBox* group;
    QCheckBox* nested;
    QAction* zoom;
    QWidget* sides;
    QDialog* dialog;
    QPushButton* dialogOk;

    TestWindow()
    {
        window.setObjectName(QStringLiteral("frmTest"));
        window.setWindowTitle(QStringLiteral("Designed"));
        units = Add<QComboBox>(&window, "cboUnits");
        units->addItems({QStringLiteral("mm"), QStringLiteral("inch"), QStringLiteral("pt")});
        units->setCurrentIndex(1);
        ok = Add<QPushButton>(&window, "btnOk");
        ok->setText(QStringLiteral("Ok"));
        name = Add<QLabel>(&window, "lblName");
        name->setText(QStringLiteral("Name:"));
        value = Add<QLineEdit>(&window, "txtValue");
        value->setText(QStringLiteral("12.5"));
        group = Add<QGroupBox>(&window, "grpBox");
        group->setTitle(QStringLiteral("Box"));
        nested = Add<QCheckBox>(group, "chkNested");
        nested->setText(QStringLiteral("Nested"));
        zoom = new QAction(QStringLiteral("Zoom"), &window);
        zoom->setObjectName(QStringLiteral("mnuZoom"));
        // A radio group keeps its item texts in a string list property.
        sides = Add<QWidget>(&window, "rgpSide");
        sides->setProperty("items", QStringList{QStringLiteral("L"), QStringLiteral("R")});
        dialog = Add<QDialog>(&window, "frmChild");
        dialogOk = Add<QPushButton>(dialog, "btnOk");
        dialogOk->setText(QStringLiteral("Dialog ok"));
    }
};

const char* const kTestLanguage =
    "[String]\n450=Kestro\n"
    "[frmTest]\n"
    "frmTest.Caption=Translated\n"
    "cboUnits.items[0]=Millimetres\n"
    "cboUnits.items[1]=Inches\n"
    "cboUnits.items[2]=\n"
    "cboUnits.items[3]=Three\n"
    "cboUnits.items[4]=Four\n"
    "cboUnits.items[5]=Five\n"
    "btnOk.Caption=&Yes\n"
    "btnOk.Hint=Press*|*here\n"
    "lblName.Caption=\n"
    "lblName.Hint=The name\n"
    "txtValue.Caption=Not a caption\n"
    "txtValue.Hint=Type a number\n"
    "grpBox.Caption=Group*|*of two lines\n"
    "chkNested.Caption=Inside\n"
    "mnuZoom.Caption=Zoom +\n"
    "mnuZoom.Hint=Zoom in\n"
    "rgpSide.items[1]=Right\n"
    "rgpSide.items[2]=Beyond\n";

TEST(TranslateForms, SetsCaptionsHintsAndExistingItemsByControlName)
{
    TestWindow w;
    const IniFile file = IniFile::FromText(kTestLanguage);
    TranslateForms({nullptr, &w.window}, &file);

    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Translated"));
    ASSERT_EQ(w.units->count(), 3);  // items[3] to items[5] add nothing
    EXPECT_EQ(w.units->itemText(0), QStringLiteral("Millimetres"));
    EXPECT_EQ(w.units->itemText(1), QStringLiteral("Inches"));
    EXPECT_EQ(w.units->itemText(2), QStringLiteral("pt"));  // an empty value keeps the designed text
    EXPECT_EQ(w.units->currentIndex(), 1);
    EXPECT_EQ(w.ok->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(w.ok->toolTip(), QStringLiteral("Press\r\nhere"));
    EXPECT_EQ(w.name->text(), QStringLiteral("Name:"));
    EXPECT_EQ(w.name->toolTip(), QStringLiteral("The name"));
    EXPECT_EQ(w.value->text(), QStringLiteral("12.5"));  // an edit has no caption
    EXPECT_EQ(w.value->toolTip(), QStringLiteral("Type a number"));
    // A caption's line break is the one Qt's controls break their texts at.
    EXPECT_EQ(w.group->title(), QStringLiteral("Group\nof two lines"));
    EXPECT_EQ(w.nested->text(), QStringLiteral("Inside"));
    EXPECT_EQ(w.zoom->text(), QStringLiteral("Zoom +"));
    EXPECT_EQ(w.zoom->toolTip(), QStringLiteral("Zoom in"));
    EXPECT_EQ(w.sides->property("items").toStringList(), (QStringList{QStringLiteral("L"), QStringLiteral("Right")}));
    // The dialog has a section of its own, which this file lacks.
    EXPECT_EQ(w.dialogOk->text(), QStringLiteral("Dialog ok"));
}

TEST(TranslateForms, AFileWithOnlyMessagesLeavesTheDesignedTexts)
{
    TestWindow w;
    const IniFile file = IniFile::FromText("[String]\n450=Kestro\n");
    TranslateForms({&w.window}, &file);
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Designed"));
    EXPECT_EQ(w.units->itemText(0), QStringLiteral("mm"));
    EXPECT_EQ(w.ok->text(), QStringLiteral("Ok"));
    EXPECT_EQ(w.ok->toolTip(), QString());
}

TEST(TranslateForms, WithoutAFileReportsThePathAndChangesNothing)
{
    QStringList shown;
    SetLanguageMessageSink([&shown](const QString& text) { shown << text; });
    LanguageFilePath = QStringLiteral("/opt/kestro/language/klingon.lng");

    TestWindow w;
    TranslateForms({&w.window}, nullptr);
    SetLanguageMessageSink({});

    EXPECT_EQ(shown, QStringList{QStringLiteral("Language file not found!\r\n/opt/kestro/language/klingon.lng")});
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Designed"));
    EXPECT_EQ(w.units->itemText(0), QStringLiteral("mm"));
}

}  // namespace
