#pragma once
// Colours as the settings keep them: 0x00BBGGRR, or a system colour 0xFF0000nn (the
// desktop's named colours, answered from the application palette).
#include <QColor>

#include <cstdint>

QColor ColorFromCode(int32_t code);
// A colour as the settings keep it (always an RGB value).
int32_t CodeFromColor(const QColor& color);
