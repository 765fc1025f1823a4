#include "edit/commands/EditSettings.h"

TEditSettings& EditSettings()
{
    static TEditSettings settings;
    return settings;
}

void ShowEditBox(const TEditBox& box)
{
    if (EditSettings().ShowBox)
        EditSettings().ShowBox(box);
}
