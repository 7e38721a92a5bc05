// Whether a compositing manager runs on the X screen: only then do translucent windows show the
// desktop through their transparent parts (otherwise those parts come out black).
#pragma once

class CompositorProbe
{
public:
    // True when translucency works: a compositing manager owns _NET_WM_CM_S<screen>, or the
    // platform is not X11 (Wayland always composites; the offscreen platform draws into images).
    static bool translucencyWorks();
};
