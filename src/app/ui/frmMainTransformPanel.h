#pragma once

// The main window's transform input fields as the transform tasks see them.
// The fields belong to the transform pages; until those pages are built the
// panel finds none and reads as "nothing typed, uniform scale, two points".

#include "cad/engine/EngineHooks.h"

class TfrmMain;

class TfrmMainTransformPanel : public TTransformPanel {
public:
    // Becomes the engine's panel, and stops being it when it goes.
    explicit TfrmMainTransformPanel(TfrmMain& window);
    ~TfrmMainTransformPanel() override;
    TfrmMainTransformPanel(const TfrmMainTransformPanel&) = delete;
    TfrmMainTransformPanel& operator=(const TfrmMainTransformPanel&) = delete;

    std::optional<double> FieldValue(TTransformField field) const override;
    void ShowFieldText(TTransformField field, const std::string& text) override;
    bool ScaleUniform() const override;
    TMirrorAxis MirrorAxis() const override;
    bool MouseInView() const override;
    int CommandCode() const override;

private:
    TfrmMain& Window;
};
