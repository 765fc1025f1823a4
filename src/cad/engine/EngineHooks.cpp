#include "cad/engine/EngineHooks.h"

namespace {

class TDefaultPanel : public TTransformPanel {
public:
    std::optional<double> FieldValue(TTransformField) const override { return std::nullopt; }
    void ShowFieldText(TTransformField, const std::string&) override {}
    bool ScaleUniform() const override { return true; }
    TMirrorAxis MirrorAxis() const override { return TMirrorAxis::TwoPoints; }
    bool MouseInView() const override { return true; }
    int CommandCode() const override { return 0; }
};

} // namespace

TEngineHooks& EngineHooks()
{
    static TEngineHooks hooks;
    return hooks;
}

TTransformPanel& TransformPanel()
{
    static TDefaultPanel defaults;
    TTransformPanel* panel = EngineHooks().Panel;
    return panel ? *panel : defaults;
}

std::string PromptText(int message)
{
    const TEngineHooks& hooks = EngineHooks();
    return hooks.PromptText ? hooks.PromptText(message) : std::string();
}
