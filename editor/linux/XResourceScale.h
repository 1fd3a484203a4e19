#pragma once
// The desktop's scale as X clients read it: the "Xft.dpi" line of the server's resource string
// (XResourceManagerString), where 96 dots per inch is 1. The number is read without the C
// library, so a host's numeric locale cannot misread "144.5".

// The factor the resources give, or 1 when they hold no usable "Xft.dpi" (none, not a number,
// not above zero). Not clamped: the editor's core holds a factor within its range.
double ScaleFromXResources(const char* resources);
