// Which scene-graph backend draws the window: software unless the person names one with Qt's own
// variables (QT_QUICK_BACKEND, QSG_RHI_BACKEND).
#pragma once

class SceneBackend
{
public:
    // Whether QT_QUICK_BACKEND or QSG_RHI_BACKEND holds a value.
    static bool chosenByPerson();

    // Makes software the backend unless the person chose one; returns whether it did. Call it
    // before the first scene view exists.
    static bool applyDefault();
};
