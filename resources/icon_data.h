// Icon 128 as PNG bytes. Placeholder until the icon is drawn.
#pragma once

inline constexpr unsigned char kJunctraIconPng[] = {0};
