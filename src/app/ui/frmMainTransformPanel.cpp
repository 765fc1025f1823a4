#include "app/ui/frmMainTransformPanel.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QLocale>

#include "app/CommandCode.h"
#include "app/ui/frmMain.h"

namespace {

const char* FieldName(TTransformField field)
{
    switch (field) {
    case TTransformField::Dx: return "txtTransDx";
    case TTransformField::Dy: return "txtTransDy";
    case TTransformField::RotateAngle: return "txtRotateAngle";
    case TTransformField::ScaleX: return "txtScaleX";
    case TTransformField::ScaleY: return "txtScaleY";
    }
    return "";
}

} // namespace

TfrmMainTransformPanel::TfrmMainTransformPanel(TfrmMain& window) : Window(window)
{
    EngineHooks().Panel = this;
}

TfrmMainTransformPanel::~TfrmMainTransformPanel()
{
    if (EngineHooks().Panel == this)
        EngineHooks().Panel = nullptr;
}

std::optional<double> TfrmMainTransformPanel::FieldValue(TTransformField field) const
{
    const auto* edit = Window.findChild<QLineEdit*>(QString::fromLatin1(FieldName(field)));
    if (!edit)
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(edit->text().trimmed(), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

void TfrmMainTransformPanel::ShowFieldText(TTransformField field, const std::string& text)
{
    if (auto* edit = Window.findChild<QLineEdit*>(QString::fromLatin1(FieldName(field)))) {
        const bool filling = Window.FillingControls;
        Window.FillingControls = true;
        edit->setText(QString::fromStdString(text));
        Window.FillingControls = filling;
    }
}

bool TfrmMainTransformPanel::ScaleUniform() const
{
    const auto* uniform = Window.findChild<QAbstractButton*>(QStringLiteral("rbtScaleUniform"));
    return !uniform || uniform->isChecked();
}

TMirrorAxis TfrmMainTransformPanel::MirrorAxis() const
{
    const auto* group = Window.findChild<QWidget*>(QStringLiteral("gprMirrorAxis"));
    if (!group)
        return TMirrorAxis::TwoPoints;
    // The items in their order: "2 Points", "X Axis", "Y Axis", "XY Axis".
    const QList<QAbstractButton*> items = group->findChildren<QAbstractButton*>();
    for (int i = 0; i < items.size() && i <= static_cast<int>(TMirrorAxis::XYAxis); ++i)
        if (items[i]->isChecked())
            return static_cast<TMirrorAxis>(i);
    return TMirrorAxis::TwoPoints;
}

bool TfrmMainTransformPanel::MouseInView() const
{
    return Window.MouseInView;
}

int TfrmMainTransformPanel::CommandCode() const
{
    return ::CommandCode;
}
