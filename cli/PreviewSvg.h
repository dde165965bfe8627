// The preview as an SVG picture of the preview control's client area.
#pragma once

#include <string>
#include <vector>

#include "PreviewLayout.h"

// A white width x height picture with one red path per run of strokes: each path starts
// at a move ("M X Y") and goes on with its lines ("L X Y"). Lines before any move start
// from (0, 0), where a device context's current position starts.
std::string PreviewSvg(const std::vector<PreviewStroke>& strokes, int width, int height);
